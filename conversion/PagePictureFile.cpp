#include "conversion/PagePictureFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/AppError.h"

namespace Word1 {

namespace {

using platform::AppError;

constexpr char kMagic[8] = {'M', 'D', 'P', 'A', 'G', 'E', '3', '2'};
constexpr char kGreyMagic[8] = {'M', 'D', 'P', 'A', 'G', 'E', '0', '8'};

// 32 bytes, so the rows after it stay aligned as a picture's rows must be.
struct Header {
    char magic[8];
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t bytesPerLine;
    std::uint32_t reserved[3];
};
static_assert(sizeof(Header) == 32);

[[noreturn]] void cannotWrite(const QString& path, int error) {
    throw AppError(platform::ErrorNumber::PathFileAccess,
                   QStringLiteral("The page picture could not be written to %1: %2.")
                       .arg(path, QString::fromLocal8Bit(std::strerror(error))));
}

bool writeAll(int fd, iovec* parts, int count) {
    while (count > 0) {
        const ssize_t written = ::writev(fd, parts, count);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        auto left = static_cast<std::size_t>(written);
        while (count > 0 && left >= parts->iov_len) {
            left -= parts->iov_len;
            ++parts;
            --count;
        }
        if (count > 0) {
            parts->iov_base = static_cast<char*>(parts->iov_base) + left;
            parts->iov_len -= left;
        }
    }
    return true;
}

struct Mapping {
    void* address;
    std::size_t size;
};

}  // namespace

void savePagePicture(const QImage& picture, const QString& path) {
    // The engine's pictures are 32-bit or grey already; anything else is brought to 32 bits.
    const bool grey = picture.format() == QImage::Format_Grayscale8;
    const QImage pixels =
        grey || picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
            ? picture
            : picture.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull()) throw AppError(platform::ErrorNumber::OutOfMemory);

    Header header{};
    std::memcpy(header.magic, grey ? kGreyMagic : kMagic, sizeof kMagic);
    header.width = static_cast<std::uint32_t>(pixels.width());
    header.height = static_cast<std::uint32_t>(pixels.height());
    header.bytesPerLine = static_cast<std::uint32_t>(pixels.bytesPerLine());

    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) cannotWrite(path, errno);
    iovec parts[2] = {
        {&header, sizeof header},
        {const_cast<uchar*>(pixels.constBits()), static_cast<std::size_t>(pixels.sizeInBytes())}};
    const bool written = writeAll(fd, parts, 2);
    const int error = errno;
    if (::close(fd) != 0 || !written) {
        ::unlink(name.constData());  // no half picture stays behind
        cannotWrite(path, written ? errno : error);
    }
}

QImage loadPagePicture(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw AppError(platform::ErrorNumber::FileNotFound);
    struct stat status {};
    Header header{};
    const bool readable = ::fstat(fd, &status) == 0 && status.st_size >= static_cast<off_t>(sizeof header) &&
                          ::pread(fd, &header, sizeof header, 0) == static_cast<ssize_t>(sizeof header);
    const std::uint64_t pixelBytes = std::uint64_t(header.bytesPerLine) * header.height;
    const bool grey = readable && std::memcmp(header.magic, kGreyMagic, sizeof kGreyMagic) == 0;
    const bool rgb32 = readable && std::memcmp(header.magic, kMagic, sizeof kMagic) == 0;
    if (!readable || !(grey || rgb32) || header.width == 0 || header.height == 0 || header.width > 65535 ||
        header.height > 65535 || header.bytesPerLine < std::uint64_t(header.width) * (grey ? 1 : 4) ||
        std::uint64_t(status.st_size) != sizeof header + pixelBytes) {
        ::close(fd);
        throw AppError(platform::ErrorNumber::InvalidPicture);
    }
    // Populated at once: taking the file's pages one fault at a time costs more than reading them.
    const auto size = static_cast<std::size_t>(status.st_size);
    void* address = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    ::close(fd);
    if (address == MAP_FAILED) throw AppError(platform::ErrorNumber::OutOfMemory);
    auto* mapping = new Mapping{address, size};
    const QImage picture(
        static_cast<const uchar*>(address) + sizeof header, int(header.width), int(header.height),
        qsizetype(header.bytesPerLine), grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32,
        [](void* info) {
            auto* owned = static_cast<Mapping*>(info);
            ::munmap(owned->address, owned->size);
            delete owned;
        },
        mapping);
    if (picture.isNull()) {
        ::munmap(address, size);
        delete mapping;
        throw AppError(platform::ErrorNumber::OutOfMemory);
    }
    return picture;
}

}  // namespace Word1
