#include "conversion/ConverterFileHold.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "conversion/ConverterTool.h"
#include "fsutil/NativeNames.h"

namespace Main {

namespace {

// A file removed by another copy between our write and our hold is written again; more than a
// few such races in a row do not happen, so the attempts are bounded rather than endless.
constexpr int kWriteAttempts = 10;

// True while `path` still names the file open on `fd`.
bool namesFile(const QByteArray& path, int fd) {
    struct stat named {};
    struct stat open {};
    return ::lstat(path.constData(), &named) == 0 && ::fstat(fd, &open) == 0 && named.st_dev == open.st_dev &&
           named.st_ino == open.st_ino;
}

// O_NONBLOCK: a pipe planted under the converter's name must not make the open wait for a writer.
int openForHold(const QByteArray& path) {
    return ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
}

}  // namespace

ConverterFileHold::~ConverterFileHold() { letGo(); }

void ConverterFileHold::writeAndHold(const QByteArray& bytes, const QString& path) {
    letGo();
    path_ = path;
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        WriteBytesToFile(bytes, path);
        if (take() != Taken::Gone) return;
    }
}

ConverterFileHold::Taken ConverterFileHold::take() {
    const QByteArray native = fsutil::nativePath(path_);
    const int fd = openForHold(native);
    if (fd < 0) return errno == ENOENT ? Taken::Gone : Taken::NotHeld;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return Taken::NotHeld;
    }
    // Blocks only while another copy removes the file: it holds the exclusive lock just for that.
    while (::flock(fd, LOCK_SH) != 0) {
        if (errno != EINTR) {
            ::close(fd);
            return Taken::NotHeld;
        }
    }
    // That copy may have removed it between our open and our lock.
    if (!namesFile(native, fd)) {
        ::close(fd);
        return Taken::Gone;
    }
    fd_ = fd;
    return Taken::Held;
}

void ConverterFileHold::releaseAndRemove() {
    if (path_.isEmpty()) return;
    const QByteArray native = fsutil::nativePath(path_);
    int fd = std::exchange(fd_, -1);
    if (fd < 0) fd = openForHold(native);
    if (fd < 0) {
        // A link or a file we cannot read: no copy of ours holds such a file.
        ::unlink(native.constData());
    } else {
        // The exclusive lock is had only when no other document holds the file.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && namesFile(native, fd)) ::unlink(native.constData());
        ::close(fd);
    }
    path_.clear();
}

void ConverterFileHold::letGo() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    path_.clear();
}

}  // namespace Main
