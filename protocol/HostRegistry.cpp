#include "protocol/HostRegistry.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "protocol/HostRecords.h"
#include "shared/SystemTempFolder.h"

namespace protocol {

namespace {

std::string fileIn(const std::string& folder, int pid) { return folder + "/" + registrationName(pid); }

// Only a real directory of this user's that nobody else may enter is trusted with registrations.
bool privateFolderOfOurs(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           (info.st_mode & 0077) == 0;
}

// $XDG_RUNTIME_DIR when it is private to this user, else "".
std::string runtimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || runtime[0] != '/' || !privateFolderOfOurs(runtime)) return {};
    return runtime;
}

std::string& pinnedTemporaryFolder() {
    static std::string folder;
    return folder;
}

std::string temporaryBase() {
    return pinnedTemporaryFolder().empty() ? shared::systemTempFolder() : pinnedTemporaryFolder();
}

// Without a runtime folder the registry is a folder made by mkdtemp under the temporary folder:
// no fixed name another user could make first. Every such folder of ours is found by its prefix.
std::string fallbackPrefix() { return "marrowdale-hosts-" + std::to_string(::getuid()) + "-"; }

std::vector<std::string> fallbackFolders() {
    std::vector<std::string> folders;
    const std::string base = temporaryBase();
    const std::string prefix = fallbackPrefix();
    DIR* dir = ::opendir(base.c_str());
    if (dir == nullptr) return folders;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string folder = base + "/" + name;
        if (privateFolderOfOurs(folder)) folders.push_back(folder);
    }
    ::closedir(dir);
    std::sort(folders.begin(), folders.end());
    return folders;
}

// Every folder that may hold registrations of this user's hosts.
std::vector<std::string> lookupFolders() {
    const std::string runtime = runtimeFolder();
    if (runtime.empty()) return fallbackFolders();
    const std::string folder = runtime + "/marrowdale";
    if (!privateFolderOfOurs(folder)) return {};
    return {folder};
}

// Alive when someone holds the lock; a file nobody holds is left by a host that died.
bool heldByLiveHost(const std::string& path, bool removeStale) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    bool alive = false;
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        alive = errno == EWOULDBLOCK;
    } else if (removeStale) {
        ::unlink(path.c_str());
    }
    ::close(fd);
    return alive;
}

}  // namespace

std::string existingRegistryFolder() {
    const std::vector<std::string> folders = lookupFolders();
    return folders.empty() ? std::string() : folders.front();
}

void pinRegistryTemporaryFolder() { pinnedTemporaryFolder() = shared::systemTempFolder(); }

std::string registryFolder() {
    const std::string runtime = runtimeFolder();
    if (!runtime.empty()) {
        const std::string folder = runtime + "/marrowdale";
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            throw std::runtime_error("cannot create " + folder + ": " + std::strerror(errno));
        }
        if (!privateFolderOfOurs(folder))
            throw std::runtime_error(folder + " is not a private folder of this user");
        return folder;
    }
    const std::vector<std::string> existing = fallbackFolders();
    if (!existing.empty()) return existing.front();
    const std::string base = temporaryBase();
    std::string pattern = base + "/" + fallbackPrefix() + "XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a private folder in " + base + ": " + std::strerror(errno));
    }
    return pattern;
}

HostRegistration::HostRegistration() : path_(fileIn(registryFolder(), static_cast<int>(::getpid()))) {
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) throw std::runtime_error("cannot create " + path_ + ": " + std::strerror(errno));
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
        throw std::runtime_error("cannot lock " + path_ + ": " + std::strerror(errno));
    }
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::write(fd_, pid.data(), pid.size()) < 0) {
        // The lock, not the content, is what counts.
    }
}

HostRegistration::~HostRegistration() {
    if (fd_ >= 0) {
        ::unlink(path_.c_str());
        ::close(fd_);
    }
}

std::vector<int> runningHosts() {
    std::vector<std::pair<long long, int>> found;  // (file age key, pid)
    for (const std::string& folder : lookupFolders()) {
        DIR* dir = ::opendir(folder.c_str());
        if (dir == nullptr) continue;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            const std::optional<int> pid = hostOfRegistrationName(name);
            if (!pid) continue;
            const std::string path = folder + "/" + name;
            struct stat info {};
            if (::stat(path.c_str(), &info) != 0) continue;
            if (heldByLiveHost(path, true)) {
                found.emplace_back(
                    static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec, *pid);
            }
        }
        ::closedir(dir);
    }
    std::sort(found.begin(), found.end());
    std::vector<int> pids;
    for (const auto& entry : found) pids.push_back(entry.second);
    return pids;
}

bool hostRunning(int pid) {
    for (const std::string& folder : lookupFolders()) {
        if (heldByLiveHost(fileIn(folder, pid), false)) return true;
    }
    return false;
}

std::string privateFolderOfHost(int pid) {
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
    DIR* dir = ::opendir(fds.c_str());
    if (dir == nullptr) return {};
    std::string folder;
    while (const dirent* entry = ::readdir(dir)) {
        char target[4096];
        const ssize_t length = ::readlink((fds + "/" + entry->d_name).c_str(), target, sizeof target - 1);
        if (length <= 0) continue;
        folder = privateFolderOfOwnerLink(std::string_view(target, static_cast<std::size_t>(length)));
        if (!folder.empty()) break;
    }
    ::closedir(dir);
    return folder;
}

}  // namespace protocol
