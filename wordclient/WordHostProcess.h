#pragma once

#include <sys/types.h>

#include <QString>
#include <chrono>
#include <string>
#include <vector>

#include "protocol/Message.h"

namespace wordclient {

// One marrowdale-wordhost process and the channel to it. Knows that the host can die: a closed
// channel, a failed write or a host that stops answering turns into an automation error, and
// every later call fails at once. Waiting for a reply lets the window process its events.
class WordHostProcess {
  public:
    // Starts the host; throws AppError 429 when it cannot be started.
    explicit WordHostProcess(const QString& executable);
    ~WordHostProcess();  // closes the channel (the host then ends) and reaps the process
    WordHostProcess(const WordHostProcess&) = delete;
    WordHostProcess& operator=(const WordHostProcess&) = delete;

    // Sends the requests in one write and reads their replies in order. An "error" reply is
    // returned like any other; a dead or silent host throws AppError 440.
    std::vector<protocol::Message> exchange(const std::vector<protocol::Message>& requests);

    // Sends a request whose reply is read (and dropped) before the next exchange's replies.
    void post(const protocol::Message& request);

    // The host's private folder (from its handshake): removed once the host has ended, so a host
    // that was killed or crashed leaves nothing behind.
    void setPrivateFolder(const std::string& folder);

    // What the host was started with (program, engine folder): a spare started for another
    // engine is of no use.
    void setEngineKey(const QString& key) { engineKey_ = key; }
    const QString& engineKey() const { return engineKey_; }

    // How many documents the host was asked to open (or to read ahead), over all the Word
    // objects it served. Opening the document it read ahead counts once.
    void countDocument(const QString& path) {
        if (path.isEmpty() || path != readAheadPath_) ++documents_;
        readAheadPath_.clear();
    }
    // The document the host was asked to read ahead ("" for none); counted as one of its documents.
    void setReadAheadPath(const QString& path) {
        readAheadPath_ = path;
        if (!path.isEmpty()) ++documents_;
    }
    const QString& readAheadPath() const { return readAheadPath_; }
    int documentsCounted() const { return documents_; }

    // Takes in the replies of posted requests that have come, without waiting; answers how many
    // are still to come.
    int repliesOutstanding();

    bool running() const { return !dead_; }
    pid_t pid() const { return pid_; }
    // Closes the channel without waiting; the host ends by itself.
    void close();

  private:
    void writeAll(const std::string& bytes);
    protocol::Message readMessage();
    [[noreturn]] void die(const QString& description, bool kill);

    pid_t pid_ = -1;
    int fd_ = -1;
    std::string folder_;
    bool dead_ = false;
    QString deadReason_;
    bool busy_ = false;
    int unread_ = 0;  // replies of posted requests
    int documents_ = 0;
    QString engineKey_;
    QString readAheadPath_;
    protocol::MessageReader reader_;
};

// How long a call may go without any answer from the host before the host is ended (120 s).
std::chrono::milliseconds engineReplyTimeout();

struct EngineReplyTimeoutService {
    using Value = std::chrono::milliseconds;
    static std::chrono::milliseconds byDefault() { return std::chrono::seconds(120); }
};

}  // namespace wordclient
