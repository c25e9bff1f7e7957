#include "conversion/ConverterTool.h"
#include "conversion/ErrnoError.h"
#include "fsutil/Main.h"
#include "fsutil/NativeNames.h"
#include "platform/EventLoop.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Main {

namespace {

bool writeAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR) continue;
        if (written == 0) errno = EIO;
        if (written <= 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

}  // namespace

void WriteBytesToFile(const QByteArray& bytes, const QString& path) {
    platform::yieldToEventLoop();
    if (FileExists(path)) return;

    // O_EXCL and O_NOFOLLOW: never through a link someone planted, not even a dangling one.
    const QByteArray nativePath = fsutil::nativePath(path);
    const int fd = ::open(nativePath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0700);
    if (fd < 0) {
        if (errno == EEXIST) return;  // an existing name is never replaced
        throw errorFromErrno(errno);
    }
    // fchmod: the umask must not take the execute bit away.
    int error = 0;
    if (::fchmod(fd, 0700) != 0 || !writeAll(fd, bytes.constData(), bytes.size())) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        // A partial converter would be kept and run by every later document.
        ::unlink(nativePath.constData());
        throw errorFromErrno(error);
    }
}

}  // namespace Main
