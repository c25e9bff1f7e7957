#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>

#include "protocol/Message.h"
#include "wordhost/HostLifecycle.h"

namespace wordhost {

class Engine;
class EngineDocument;
class HostRegistration;
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

    Message handle(const Message& request);
    bool quitRequested() const { return lifecycle_.state() == HostState::Ended; }
    HostState state() const { return lifecycle_.state(); }
    // Closes the document and withdraws the registration; the engine itself stays to the exit.
    void close();

  private:
    Message run(const Message& request);
    Engine& engine();
    EngineDocument& document();

    // One handler per request, its argument rules beside it (CommandDispatcher.cpp).
    Message hello(const Message& request);
    Message warm(const Message& request);
    Message readAhead(const Message& request);
    Message release(const Message& request);
    Message quit(const Message& request);
    Message name(const Message& request);
    Message open(const Message& request);
    Message closeDocument(const Message& request);
    Message repaginate(const Message& request);
    Message property(const Message& request);
    Message getPageFit(const Message& request);
    Message setPageFit(const Message& request);
    Message paragraphs(const Message& request);
    Message setIndents(const Message& request);
    Message endKey(const Message& request);
    Message goTo(const Message& request);
    Message moveUp(const Message& request);
    Message text(const Message& request);
    Message cut(const Message& request);

    struct Handler {
        const char* name;
        Message (CommandDispatcher::*run)(const Message& request);
    };
    static const Handler kHandlers[];

    PrivateFolder& folder_;
    EngineStarter startEngine_;
    HostLifecycle lifecycle_;
    std::unique_ptr<Engine> engine_;
    std::unique_ptr<HostRegistration> registration_;
    std::unique_ptr<EngineDocument> document_;

    // A document opened ahead of its turn, and what its file was when it was read.
    struct FileIdentity {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = -1;
        long long modifiedNs = 0;
        bool operator==(const FileIdentity&) const = default;
    };
    std::unique_ptr<EngineDocument> readAhead_;
    std::string readAheadPath_;
    FileIdentity readAheadIdentity_;
    int pageFit_ = 0;
    bool warmed_ = false;
};

}  // namespace wordhost
