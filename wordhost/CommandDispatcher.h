#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

#include "protocol/Message.h"

namespace wordhost {

class EngineDocument;
class HostRegistration;
class Office;
class PrivateFolder;

// Answers the client's messages (PROTOCOL.md): one request in, one reply out. Starts the
// engine at the handshake and registers the host as a running Word from then on.
class CommandDispatcher {
  public:
    explicit CommandDispatcher(PrivateFolder& folder);
    ~CommandDispatcher();

    Message handle(const Message& request);
    bool quitRequested() const { return quit_; }
    // Closes the document and withdraws the registration; the engine itself stays to the exit.
    void close();

  private:
    void startEngine();
    Message hello(const Message& request);
    Message open(const Message& request);
    Message readAhead(const Message& request);
    Message setIndents(const Message& request);
    Message cut();
    EngineDocument& document();

    PrivateFolder& folder_;
    std::unique_ptr<Office> office_;
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
    bool readAheadFailed_ = false;  // the engine saw an error: it must not serve another document
    int pageFit_ = 0;
    bool claimed_ = false;  // the handshake came: the host is a Word object's now
    bool quit_ = false;
    bool warmed_ = false;
};

}  // namespace wordhost
