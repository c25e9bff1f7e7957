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

// The lifecycle table: whether `request` may run in `state`, and what follows. A host whose
// engine failed reading a document ahead (`readAheadFailed`) is never handed on again.
Step decide(HostState state, bool readAheadFailed, std::string_view request);

// The host's state, moved along by the requests it runs.
class HostLifecycle {
  public:
    HostState state() const { return state_; }
    bool readAheadFailed() const { return readAheadFailed_; }

    Step decide(std::string_view request) const {
        return wordhost::decide(state_, readAheadFailed_, request);
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
