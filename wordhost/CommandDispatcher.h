#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>

#include "protocol/Message.h"
#include "wordhost/HostLifecycle.h"

namespace protocol {
class HostRegistration;
}

namespace wordhost {

class Engine;
class WordDocument;
class PrivateFolder;

// Starts the document engine with its profile in the given folder. Throws EngineError (429).
using EngineStarter = std::function<std::unique_ptr<Engine>(const std::string& profileFolder)>;

// Answers the client's messages (PROTOCOL.md): one request in, one reply out. The lifecycle
// decides whether a request may run; a table names the handler of each request. Starts the
// engine with the first request that needs it and registers the host as a running Word while
// it is claimed.
class CommandDispatcher {
  public:
    CommandDispatcher(PrivateFolder& folder, EngineStarter startEngine);
    ~CommandDispatcher();

    protocol::Message handle(const protocol::Message& request);
    bool quitRequested() const { return lifecycle_.state() == HostState::Ended; }
    HostState state() const { return lifecycle_.state(); }
    // Closes the document and withdraws the registration; the engine itself stays to the exit.
    void close();
    // Asked before a warm-up: whether the client leaves the host idle. A warm-up only fills idle
    // time; while the client waits on the host it is skipped (and done at a later "warm").
    void setIdleCheck(std::function<bool()> clientIdle) { clientIdle_ = std::move(clientIdle); }

  private:
    Engine& engine();
    WordDocument& document();

    // One handler per request, its argument rules beside it (CommandDispatcher.cpp).
    protocol::Message hello(const protocol::Message& request);
    protocol::Message warm(const protocol::Message& request);
    protocol::Message readAhead(const protocol::Message& request);
    protocol::Message release(const protocol::Message& request);
    protocol::Message quit(const protocol::Message& request);
    protocol::Message name(const protocol::Message& request);
    protocol::Message open(const protocol::Message& request);
    protocol::Message closeDocument(const protocol::Message& request);
    protocol::Message repaginate(const protocol::Message& request);
    protocol::Message property(const protocol::Message& request);
    protocol::Message getPageFit(const protocol::Message& request);
    protocol::Message setPageFit(const protocol::Message& request);
    protocol::Message paragraphs(const protocol::Message& request);
    protocol::Message setIndents(const protocol::Message& request);
    protocol::Message endKey(const protocol::Message& request);
    protocol::Message goTo(const protocol::Message& request);
    protocol::Message moveUp(const protocol::Message& request);
    protocol::Message text(const protocol::Message& request);
    protocol::Message cut(const protocol::Message& request);

    struct Handler {
        const char* name;  // the request's kName
        RequestKind kind;
        protocol::Message (CommandDispatcher::*run)(const protocol::Message& request);
    };
    static const Handler kHandlers[];
    static const Handler* handlerOf(const protocol::Message& request);  // null for a name not known

    PrivateFolder& folder_;
    EngineStarter startEngine_;
    HostLifecycle lifecycle_;
    std::unique_ptr<Engine> engine_;
    std::unique_ptr<protocol::HostRegistration> registration_;
    std::unique_ptr<WordDocument> document_;

    // A document opened ahead of its turn, and what its file was when it was read.
    struct FileIdentity {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = -1;
        long long modifiedNs = 0;
        bool operator==(const FileIdentity&) const = default;
    };
    std::unique_ptr<WordDocument> readAhead_;
    std::string readAheadPath_;
    FileIdentity readAheadIdentity_;
    int pageFit_ = 0;
    bool warmed_ = false;
    std::function<bool()> clientIdle_;
};

}  // namespace wordhost
