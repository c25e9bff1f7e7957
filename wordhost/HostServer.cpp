#include "wordhost/HostServer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "protocol/HostRegistry.h"
#include "protocol/Message.h"
#include "shared/WriteAll.h"
#include "wordhost/CommandDispatcher.h"
#include "wordhost/OfficeEngine.h"
#include "wordhost/PrivateFolder.h"

namespace wordhost {

using namespace protocol;

namespace {

// How long the client may take to send its next request and still count as waiting on the host.
constexpr int kIdleGraceMs = 100;

int signalPipe[2] = {-1, -1};
int lastResortPipe[2] = {-1, -1};

void onTerminate(int) {
    const char byte = 1;
    [[maybe_unused]] ssize_t ignored = ::write(signalPipe[1], &byte, 1);
    if (lastResortPipe[1] < 0 || ::write(lastResortPipe[1], &byte, 1) != 1) ::alarm(10);
}

// Should the main thread be stuck inside the engine when the host is told to end, this thread
// ends the host after 10 s, its private folder removed first.
void startLastResort(const std::string& folder) {
    if (::pipe2(lastResortPipe, O_CLOEXEC) != 0) return;
    std::thread([folder] {
        char byte = 0;
        while (::read(lastResortPipe[0], &byte, 1) < 0 && errno == EINTR) {
        }
        std::this_thread::sleep_for(std::chrono::seconds(10));
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        ::_exit(1);
    }).detach();
}

void installSignalHandlers() {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction action {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

bool writeAll(int fd, const std::string& bytes) { return shared::writeAll(fd, bytes.data(), bytes.size()); }

// Keeps the protocol on its own descriptors: the engine prints to standard output at times.
void takeStandardStreams(int& in, int& out) {
    in = ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
    out = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::close(null);
    }
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
}

// Answers every whole request the reader holds, in order; false once the client cannot hear the
// replies any more or has asked the host to quit.
bool answerPending(CommandDispatcher& dispatcher, MessageReader& reader, int out, bool trace) {
    while (std::optional<Message> request = reader.next()) {
        const auto started = std::chrono::steady_clock::now();
        const Message reply = dispatcher.handle(*request);
        if (trace) {
            const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - started;
            std::fprintf(stderr, "marrowdale-wordhost: %s %.1f ms\n", request->name().c_str(), took.count());
        }
        if (!writeAll(out, reply.encodeLine()) || !writeAll(out, reply.payload())) return false;
        if (dispatcher.quitRequested()) return false;
    }
    return true;
}

// Whether the client leaves the host idle: no request of it is waiting, nor comes within a
// moment. A batch that starts at once sends its first document right after the spare's "warm",
// and the engine had better not be busy warming up on a document of its own then.
bool clientIdle(const MessageReader& reader, int in) {
    if (!reader.empty()) return false;
    pollfd fd{in, POLLIN, 0};
    return ::poll(&fd, 1, kIdleGraceMs) == 0;
}

// Serves requests until the client goes away or quits (0), a signal ends the host (1) or the
// client breaks the protocol (2).
int serveRequests(CommandDispatcher& dispatcher, int in, int out) {
    // MARROWDALE_WORDHOST_TRACE=1 prints every request and its time to standard error.
    const bool trace = std::getenv("MARROWDALE_WORDHOST_TRACE") != nullptr;
    MessageReader reader;
    dispatcher.setIdleCheck([&reader, in] { return clientIdle(reader, in); });
    char buffer[1 << 16];
    for (;;) {
        pollfd fds[2] = {{in, POLLIN, 0}, {signalPipe[0], POLLIN, 0}};
        if (::poll(fds, signalPipe[0] >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR) continue;
            return 0;
        }
        if (signalPipe[0] >= 0 && (fds[1].revents & POLLIN) != 0) return 1;
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return 0;  // the client went away
        try {
            reader.feed(buffer, static_cast<std::size_t>(got));
            if (!answerPending(dispatcher, reader, out, trace)) return 0;
        } catch (const ProtocolError& error) {
            std::fprintf(stderr, "marrowdale-wordhost: %s\n", error.what());
            return 2;
        }
    }
}

}  // namespace

int serveClient() {
    const pid_t parent = ::getppid();
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) return 0;  // the client is already gone
    installSignalHandlers();
    int in = -1;
    int out = -1;
    takeStandardStreams(in, out);

    PrivateFolder folder;
    startLastResort(folder.path());
    // The engine's own temporary files go into the private folder too.
    pinRegistryTemporaryFolder();
    ::setenv("TMPDIR", (folder.path()).c_str(), 1);
    if (std::getenv("SAL_LOG") == nullptr) ::setenv("SAL_LOG", "-WARN-INFO", 1);

    CommandDispatcher dispatcher(folder, [](const std::string& profileFolder) {
        return std::make_unique<OfficeEngine>(LibreOfficeSession::defaultProgramFolder(), profileFolder);
    });
    const int status = serveRequests(dispatcher, in, out);
    dispatcher.close();
    folder.remove();
    std::fflush(nullptr);
    // Skips the engine's own shutdown (slow, and it can hang); everything of ours is cleaned up.
    ::_exit(status);
}

}  // namespace wordhost
