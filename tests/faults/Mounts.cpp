#include "tests/faults/Mounts.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QFile>
#include <vector>

namespace faulttest {

namespace {

QByteArray native(const QString& path) { return QFile::encodeName(path); }

}  // namespace

ReadOnlyFolder::ReadOnlyFolder(const QString& folder) : folder_(folder) {
    const QByteArray path = native(folder);
    if (::geteuid() != 0) {
        ready_ = ::chmod(path.constData(), 0555) == 0;
        return;
    }
    mounted_ = ::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0;
    ready_ = mounted_ &&
             ::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
}

ReadOnlyFolder::~ReadOnlyFolder() {
    const QByteArray path = native(folder_);
    if (mounted_) ::umount2(path.constData(), MNT_DETACH);
    if (::geteuid() != 0) ::chmod(path.constData(), 0755);
}

SmallDisk::SmallDisk(const QString& folder, int kilobytes) : folder_(folder) {
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0700";
    ready_ = ::geteuid() == 0 && ::mount("tmpfs", native(folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                                         options.constData()) == 0;
}

SmallDisk::~SmallDisk() {
    if (ready_) ::umount2(native(folder_).constData(), MNT_DETACH);
}

void SmallDisk::fillLeaving(std::int64_t bytesLeft) {
    struct statvfs disk {};
    if (::statvfs(native(folder_).constData(), &disk) != 0) return;
    std::int64_t toWrite = std::int64_t(disk.f_bavail) * std::int64_t(disk.f_frsize) - bytesLeft;
    const QByteArray name = native(folder_ + QStringLiteral("/.filler-%1").arg(++fillers_));
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    const std::vector<char> block(1 << 16, 'x');
    while (toWrite > 0) {
        const ssize_t written =
            ::write(fd, block.data(), std::size_t(std::min<std::int64_t>(toWrite, block.size())));
        if (written <= 0) break;
        toWrite -= written;
    }
    ::close(fd);
}

}  // namespace faulttest
