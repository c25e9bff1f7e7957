#include "wordclient/WordHostProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "platform/AppError.h"
#include "platform/ChildProcess.h"
#include "platform/EventLoop.h"
#include "platform/Services.h"
#include "protocol/WordVocabulary.h"
#include "wordclient/HostEnding.h"

namespace wordclient {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSliceMs = 50;  // the window gets its events at least this often

// The watchdog's reason, with the time it waited ("120", "2.5").
QString silentHostDescription() {
    return QStringLiteral("The document engine stopped answering for %1 seconds and was ended.")
        .arg(QString::number(double(engineReplyTimeout().count()) / 1000.0));
}

}  // namespace

std::chrono::milliseconds engineReplyTimeout() {
    return platform::services::get<EngineReplyTimeoutService>();
}

WordHostProcess::WordHostProcess(const QString& executable) {
    const std::string program = executable.toStdString();
    if (::access(program.c_str(), X_OK) != 0)
        throw platform::AppError(platform::ErrorNumber::CantCreateObject);
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0)
        throw platform::AppError(platform::ErrorNumber::CantCreateObject);
    const char* argv[] = {program.c_str(), "--serve", nullptr};
    platform::ChildSetup setup;
    setup.standardInput = setup.standardOutput = sockets[1];
    setup.deathSignal = SIGTERM;         // a crashed program leaves no host behind
    setup.closeOtherDescriptors = true;  // no other host's channel may stay open in this one
    const pid_t pid = platform::startChild(argv[0], const_cast<char* const*>(argv), setup);
    ::close(sockets[1]);
    if (pid < 0) {
        ::close(sockets[0]);
        throw platform::AppError(platform::ErrorNumber::CantCreateObject);
    }
    pid_ = pid;
    fd_ = sockets[0];
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
}

WordHostProcess::~WordHostProcess() { close(); }

void WordHostProcess::setPrivateFolder(const std::string& folder) {
    // Only a folder the host made for itself, never anything a confused host might name.
    const std::size_t slash = folder.rfind('/');
    const bool own = folder.size() > 1 && folder[0] == '/' && folder.find("/../") == std::string::npos &&
                     slash != std::string::npos &&
                     folder.compare(slash + 1, std::strlen(protocol::kPrivateFolderPrefix),
                                    protocol::kPrivateFolderPrefix) == 0;
    folder_ = own ? folder : std::string();
}

void WordHostProcess::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (pid_ > 0) reapLater(pid_, false, folder_);
    pid_ = -1;
    if (!dead_) deadReason_ = QStringLiteral("The document engine is no longer running.");
    dead_ = true;
}

void WordHostProcess::die(const QString& description, bool kill) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (pid_ > 0 && !(kill && killedAndEnded(pid_, folder_))) reapLater(pid_, kill, folder_);
    pid_ = -1;
    dead_ = true;
    deadReason_ = description;
    busy_ = false;
    throw platform::AppError(platform::ErrorNumber::AutomationError, description);
}

std::vector<protocol::Message> WordHostProcess::exchange(const std::vector<protocol::Message>& requests) {
    if (dead_) throw platform::AppError(platform::ErrorNumber::AutomationError, deadReason_);
    if (busy_) {
        throw platform::AppError(platform::ErrorNumber::AutomationError,
                                 QStringLiteral("The document engine is busy with another call."));
    }
    busy_ = true;
    std::string bytes;
    for (const protocol::Message& request : requests) bytes += request.encode();
    writeAll(bytes);
    for (; unread_ > 0; --unread_) readMessage();
    std::vector<protocol::Message> replies;
    for (std::size_t i = 0; i < requests.size(); ++i) replies.push_back(readMessage());
    busy_ = false;
    return replies;
}

void WordHostProcess::post(const protocol::Message& request) {
    if (dead_) throw platform::AppError(platform::ErrorNumber::AutomationError, deadReason_);
    busy_ = true;
    writeAll(request.encode());
    busy_ = false;
    ++unread_;
}

int WordHostProcess::repliesOutstanding() {
    std::vector<char> buffer(1 << 12);
    while (!dead_ && !busy_ && unread_ > 0) {
        try {
            if (reader_.next()) {
                --unread_;
                continue;
            }
        } catch (const protocol::ProtocolError&) {
            break;  // the next exchange reports it
        }
        const ssize_t got = ::recv(fd_, buffer.data(), buffer.size(), 0);
        if (got <= 0) break;  // nothing more yet, or the host ended: the next exchange finds out
        reader_.feed(buffer.data(), static_cast<std::size_t>(got));
    }
    return unread_;
}

void WordHostProcess::writeAll(const std::string& bytes) {
    std::size_t done = 0;
    Clock::time_point progress = Clock::now();
    while (done < bytes.size()) {
        const ssize_t sent = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (sent > 0) {
            done += static_cast<std::size_t>(sent);
            progress = Clock::now();
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && errno != EAGAIN)
            die(QStringLiteral("The document engine stopped unexpectedly."), true);
        pollfd wait{fd_, POLLOUT, 0};
        ::poll(&wait, 1, kSliceMs);
        if (Clock::now() - progress > engineReplyTimeout()) die(silentHostDescription(), true);
        if ((wait.revents & POLLOUT) == 0) platform::yieldToEventLoop();
    }
}

protocol::Message WordHostProcess::readMessage() {
    Clock::time_point progress = Clock::now();
    Clock::time_point yielded = Clock::now();
    static thread_local std::vector<char> buffer(1 << 18);
    for (;;) {
        try {
            if (std::optional<protocol::Message> message = reader_.next()) return std::move(*message);
        } catch (const protocol::ProtocolError& error) {
            die(QStringLiteral("The document engine answered nonsense: %1")
                    .arg(QString::fromUtf8(error.what())),
                true);
        }
        const ssize_t got = ::recv(fd_, buffer.data(), buffer.size(), 0);
        if (got > 0) {
            reader_.feed(buffer.data(), static_cast<std::size_t>(got));
            progress = Clock::now();
        } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            die(QStringLiteral("The document engine stopped unexpectedly."), true);
        } else {
            pollfd wait{fd_, POLLIN, 0};
            ::poll(&wait, 1, kSliceMs);
        }
        if (Clock::now() - progress > engineReplyTimeout()) die(silentHostDescription(), true);
        if (Clock::now() - yielded >= std::chrono::milliseconds(kSliceMs)) {
            platform::yieldToEventLoop();
            yielded = Clock::now();
        }
    }
}

}  // namespace wordclient
