#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "conversion/ConverterTool.h"
#include "conversion/ErrnoError.h"
#include "fsutil/Main.h"
#include "fsutil/NativeNames.h"
#include "platform/EventLoop.h"
#include "shared/WriteAll.h"

namespace Main {

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
    if (::fchmod(fd, 0700) != 0 ||
        !shared::writeAll(fd, bytes.constData(), static_cast<std::size_t>(bytes.size())))
        error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        // A partial converter would be kept and run by every later document.
        ::unlink(nativePath.constData());
        throw errorFromErrno(error);
    }
}

}  // namespace Main
