#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wordhost {

// Where a host stands in its life (PROTOCOL.md, "The host's lifecycle").
enum class HostState {
    // No Word object's (yet or again), unregistered: just started, warmed, reading ahead or
    // released. Its engine starts with the first request that needs it.
    Spare,
    Claimed,       // "hello" came: a Word object's, registered, no document open
    DocumentOpen,  // claimed, with a document open
    Ended,         // "quit" answered
};

const char* stateName(HostState state);

// What a request is to the lifecycle: each request of the host's table of handlers is one kind.
enum class RequestKind {
    Handshake,  // "hello"
    Warm,       // starts and warms the engine
    ReadAhead,  // a clean spare opens a document ahead of its turn
    Release,    // a clean Word object's host becomes a spare again
    Quit,
    Open,          // the document open before is closed first
    Close,         // closes the open document
    DocumentCall,  // a call of the open document
    ObjectCall,    // a call of the Word object that needs no document
};

// A request refused in the state it came in: the reply's error number and description.
struct Refusal {
    int number;
    std::string description;
    bool operator==(const Refusal&) const = default;
};

// What the lifecycle says to one request: refused, or run, and the state after it.
struct Step {
    std::optional<Refusal> refusal;
    HostState afterSuccess = HostState::Spare;
    HostState afterFailure = HostState::Spare;  // the request was run and failed
};

// The lifecycle table: whether a request of `kind` may run in `state`, and what follows; a request
// the host does not know (no kind) is refused, naming `request`. A host whose engine failed
// reading a document ahead (`readAheadFailed`) is never handed on again.
Step decide(HostState state, bool readAheadFailed, std::optional<RequestKind> kind, std::string_view request);

// The host's state, moved along by the requests it runs.
class HostLifecycle {
  public:
    HostState state() const { return state_; }
    bool readAheadFailed() const { return readAheadFailed_; }

    Step decide(std::optional<RequestKind> kind, std::string_view request) const {
        return wordhost::decide(state_, readAheadFailed_, kind, request);
    }
    void finish(const Step& step, bool succeeded) {
        state_ = succeeded ? step.afterSuccess : step.afterFailure;
    }
    // The engine saw an error while reading ahead: the client must not hand it on.
    void markReadAheadFailed() { readAheadFailed_ = true; }

  private:
    HostState state_ = HostState::Spare;
    bool readAheadFailed_ = false;
};

}  // namespace wordhost
