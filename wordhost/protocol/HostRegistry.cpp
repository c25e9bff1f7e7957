#include "wordhost/protocol/HostRegistry.h"

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

namespace wordhost {

namespace {

constexpr const char* kPrefix = "wordhost-";
constexpr const char* kSuffix = ".lock";

std::string fileFor(int pid) { return registryFolder() + "/" + kPrefix + std::to_string(pid) + kSuffix; }

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

std::string registryFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folder;
    struct stat info {};
    if (runtime != nullptr && runtime[0] == '/' && ::stat(runtime, &info) == 0 && S_ISDIR(info.st_mode)) {
        folder = std::string(runtime) + "/marrowdale";
    } else {
        folder = "/tmp/marrowdale-" + std::to_string(::getuid());
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        throw std::runtime_error("cannot create " + folder + ": " + std::strerror(errno));
    }
    // A folder of someone else's (a shared /tmp) must not be trusted.
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) {
        throw std::runtime_error(folder + " is not a private folder of this user");
    }
    return folder;
}

HostRegistration::HostRegistration() : path_(fileFor(static_cast<int>(::getpid()))) {
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
    std::string folder;
    try {
        folder = registryFolder();
    } catch (const std::exception&) {
        return {};
    }
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return {};
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const std::size_t prefix = std::strlen(kPrefix);
        const std::size_t suffix = std::strlen(kSuffix);
        if (name.size() <= prefix + suffix || name.compare(0, prefix, kPrefix) != 0 ||
            name.compare(name.size() - suffix, suffix, kSuffix) != 0) {
            continue;
        }
        const std::string digits = name.substr(prefix, name.size() - prefix - suffix);
        if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string path = folder + "/" + name;
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) continue;
        if (heldByLiveHost(path, true)) {
            found.emplace_back(
                static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec,
                std::atoi(digits.c_str()));
        }
    }
    ::closedir(dir);
    std::sort(found.begin(), found.end());
    std::vector<int> pids;
    for (const auto& entry : found) pids.push_back(entry.second);
    return pids;
}

bool hostRunning(int pid) {
    try {
        return heldByLiveHost(fileFor(pid), false);
    } catch (const std::exception&) {
        return false;
    }
}

std::string privateFolderOfHost(int pid) {
    static const std::string kOwnerFile = "/.owner";
    static const std::string kFolderPrefix = "marrowdale-wordhost-";
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
    DIR* dir = ::opendir(fds.c_str());
    if (dir == nullptr) return {};
    std::string folder;
    while (const dirent* entry = ::readdir(dir)) {
        char target[4096];
        const ssize_t length = ::readlink((fds + "/" + entry->d_name).c_str(), target, sizeof target - 1);
        if (length <= 0) continue;
        const std::string path(target, static_cast<std::size_t>(length));
        if (path.size() <= kOwnerFile.size() ||
            path.compare(path.size() - kOwnerFile.size(), kOwnerFile.size(), kOwnerFile) != 0)
            continue;
        const std::string candidate = path.substr(0, path.size() - kOwnerFile.size());
        const std::size_t slash = candidate.rfind('/');
        if (slash != std::string::npos &&
            candidate.compare(slash + 1, kFolderPrefix.size(), kFolderPrefix) == 0) {
            folder = candidate;
            break;
        }
    }
    ::closedir(dir);
    return folder;
}

}  // namespace wordhost
