#include "conversion/ClipboardTurn.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "protocol/HostRegistry.h"

namespace Word1 {

namespace {
constexpr auto kLongestWait = std::chrono::seconds(5);
constexpr auto kPollInterval = std::chrono::milliseconds(2);

int openLockFile(const std::string& path) {
    if (path.empty()) return -1;
    return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
}
}  // namespace

std::string ClipboardTurn::lockPath() {
    // The folder the engine hosts register in: every copy that cuts has a host there.
    const std::string folder = protocol::existingRegistryFolder();
    return folder.empty() ? std::string() : folder + "/clipboard.lock";
}

ClipboardTurn::ClipboardTurn() : fd_(openLockFile(lockPath())) {
    if (fd_ < 0) return;
    // Polled rather than blocking, so that a stuck holder costs a bounded wait.
    const auto giveUp = std::chrono::steady_clock::now() + kLongestWait;
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= giveUp) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

ClipboardTurn::~ClipboardTurn() {
    if (fd_ >= 0) ::close(fd_);  // closing gives the lock up
}

}  // namespace Word1
