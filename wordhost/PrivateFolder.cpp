#include "wordhost/PrivateFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <stdexcept>

#include "protocol/WordVocabulary.h"
#include "shared/SystemTempFolder.h"

namespace wordhost {

using namespace protocol;

namespace {

constexpr const char* kPrefix = kPrivateFolderPrefix;
constexpr const char* kOwnerFile = "/.owner";
constexpr time_t kSweepAgeSeconds = 60;  // never touch a folder that may still be setting itself up

void removeTree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

// Removes folders of hosts that ended without cleaning up: nobody holds their owner lock.
void sweepStale(const std::string& base) {
    DIR* dir = ::opendir(base.c_str());
    if (dir == nullptr) return;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, kPrefix, std::strlen(kPrefix)) != 0) continue;
        const std::string folder = base + "/" + entry->d_name;
        struct stat info {};
        if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
            continue;
        if (now - info.st_mtime < kSweepAgeSeconds) continue;
        const int fd = ::open((folder + kOwnerFile).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) removeTree(folder);
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace

PrivateFolder::PrivateFolder() {
    const std::string base = shared::systemTempFolder();
    sweepStale(base);
    std::string pattern = base + "/" + kPrefix + "XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder in " + base + ": " + std::strerror(errno));
    }
    path_ = pattern;
    lockFd_ = ::open((path_ + kOwnerFile).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ < 0 || ::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        const std::string reason = std::strerror(errno);
        remove();
        throw std::runtime_error("cannot lock the temporary folder " + path_ + ": " + reason);
    }
}

PrivateFolder::~PrivateFolder() { remove(); }

std::string PrivateFolder::makeSubfolder(const std::string& prefix) {
    const std::string folder = path_ + "/" + prefix + std::to_string(++next_);
    if (::mkdir(folder.c_str(), 0700) != 0) {
        throw std::runtime_error("cannot create " + folder + ": " + std::strerror(errno));
    }
    return folder;
}

void PrivateFolder::remove() {
    if (path_.empty()) return;
    removeTree(path_);
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = -1;
    path_.clear();
}

}  // namespace wordhost
