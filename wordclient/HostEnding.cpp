#include "wordclient/HostEnding.h"

#include <sys/wait.h>

#include <csignal>
#include <filesystem>
#include <thread>

#include "platform/EventLoop.h"

namespace wordclient {

namespace {

using Clock = std::chrono::steady_clock;

// Reaps the host once it has ended, waiting at most `limit`; true when it ended. The window's
// events run meanwhile when `yield` is set (only on the window's thread).
bool endedWithin(pid_t pid, std::chrono::milliseconds limit, bool yield) {
    const Clock::time_point deadline = Clock::now() + limit;
    while (::waitpid(pid, nullptr, WNOHANG) == 0) {
        if (Clock::now() > deadline) return false;
        if (yield) platform::yieldToEventLoop();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// What a host that ended normally has removed itself; one killed or crashed leaves it to us.
void removeFolder(const std::string& folder) {
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
}

}  // namespace

void reapLater(pid_t pid, bool kill, std::string folder) {
    if (pid <= 0) return;
    if (kill) ::kill(pid, SIGKILL);
    std::thread([pid, folder = std::move(folder)] {
        if (!endedWithin(pid, std::chrono::seconds(5), false)) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        removeFolder(folder);
    }).detach();
}

// A program about to exit would otherwise leave the folder behind.
bool killedAndEnded(pid_t pid, const std::string& folder) {
    ::kill(pid, SIGKILL);
    if (!endedWithin(pid, std::chrono::seconds(2), true)) return false;
    removeFolder(folder);
    return true;
}

}  // namespace wordclient
