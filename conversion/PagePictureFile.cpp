#include "conversion/PagePictureFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/AppError.h"
#include "platform/BandedImage.h"
#include "shared/BandedRows.h"
#include "shared/GreyPixels.h"

namespace Word1 {

namespace {

using platform::AppError;

constexpr char kMagic[8] = {'M', 'D', 'P', 'A', 'G', 'E', '3', '2'};
constexpr char kGreyMagic[8] = {'M', 'D', 'P', 'A', 'G', 'E', '0', '8'};
constexpr char kBandedMagic[8] = {'M', 'D', 'P', 'A', 'G', 'E', 'B', 'D'};

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

// A 32-bit picture in bands of rows (shared/BandedRows.h): a band without colour is held as its
// grey bytes, so a page of black text with a coloured heading is written, read back and removed as
// a little more than a grey one. The band table follows the header, then the bands in order.
using shared::kBandRows;

struct Bands {
    std::vector<unsigned char> colour;  // one a band
    std::vector<unsigned char> grey;    // every band's grey bytes at its own place; only grey ones count
    std::size_t greyCount = 0;
};

Bands& packedBands(const QImage& picture) {
    thread_local Bands bands;  // kept for the next page: fresh megabytes cost a fault for every 4 KB
    const int width = picture.width();
    bands.colour.assign(std::size_t((picture.height() + kBandRows - 1) / kBandRows), 0);
    bands.grey.resize(std::size_t(width) * std::size_t(picture.height()));
    bands.greyCount = 0;
    for (std::size_t band = 0; band < bands.colour.size(); ++band) {
        const int top = int(band) * kBandRows;
        const int rows = std::min(kBandRows, picture.height() - top);
        const bool grey = shared::packGreyRows(
            picture.constScanLine(top), std::size_t(picture.bytesPerLine()), rows, std::size_t(width),
            bands.grey.data() + std::size_t(top) * std::size_t(width), std::size_t(width));
        bands.colour[band] = grey ? 0 : 1;
        bands.greyCount += grey ? 1 : 0;
    }
    return bands;
}

// The file's parts after the header: the table, then each band (colour bands next to each other
// as one part).
std::vector<iovec> bandParts(const QImage& picture, Bands& bands) {
    std::vector<iovec> parts{{bands.colour.data(), bands.colour.size()}};
    const std::size_t width = std::size_t(picture.width());
    for (std::size_t band = 0; band < bands.colour.size(); ++band) {
        const int top = int(band) * kBandRows;
        const std::size_t rows = std::size_t(std::min(kBandRows, picture.height() - top));
        const bool colour = bands.colour[band] != 0;
        char* start = colour ? reinterpret_cast<char*>(const_cast<uchar*>(picture.constScanLine(top)))
                             : reinterpret_cast<char*>(bands.grey.data() + std::size_t(top) * width);
        const std::size_t size = rows * width * (colour ? 4 : 1);
        const bool follows = colour && band > 0 && bands.colour[band - 1] != 0;
        if (follows) {
            parts.back().iov_len += size;
        } else {
            parts.push_back({start, size});
        }
    }
    return parts;
}

void writeFile(const QString& path, std::vector<iovec> parts) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) cannotWrite(path, errno);
    bool written = true;
    for (std::size_t done = 0; written && done < parts.size(); done += IOV_MAX) {
        written = writeAll(fd, parts.data() + done, int(std::min<std::size_t>(IOV_MAX, parts.size() - done)));
    }
    const int error = errno;
    if (::close(fd) != 0 || !written) {
        ::unlink(name.constData());  // no half picture stays behind
        cannotWrite(path, written ? errno : error);
    }
}

// The picture of a banded file's contents, which keeps its bands; a null picture when the table
// and the bands do not make the whole file.
QImage bandedPicture(std::string contents, int width, int height) {
    const std::size_t tableBytes = shared::bandCount(height);
    if (contents.size() < sizeof(Header) + tableBytes) return {};
    const auto* table = reinterpret_cast<const unsigned char*>(contents.data()) + sizeof(Header);
    const std::size_t bandBytes = shared::bandedBytes(table, width, height);
    if (bandBytes == 0 || sizeof(Header) + tableBytes + bandBytes != contents.size()) return {};
    return platform::imageFromBands(std::move(contents), sizeof(Header), sizeof(Header) + tableBytes, width,
                                    height);
}

// A file's whole contents; empty when it cannot be read.
std::string contentsOf(int fd, std::size_t size) {
    std::string contents = platform::storageForBands(size);
    for (std::size_t done = 0; done < size;) {
        const ssize_t got = ::pread(fd, contents.data() + done, size - done, off_t(done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return {};
        done += std::size_t(got);
    }
    return contents;
}

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
    header.width = static_cast<std::uint32_t>(pixels.width());
    header.height = static_cast<std::uint32_t>(pixels.height());
    header.bytesPerLine = static_cast<std::uint32_t>(pixels.bytesPerLine());
    if (const std::optional<platform::BandsView> bands = platform::bandsOf(pixels)) {
        std::memcpy(header.magic, kBandedMagic, sizeof kBandedMagic);  // as they came: nothing to look at
        writeFile(path, {{&header, sizeof header},
                         {const_cast<unsigned char*>(bands->table), bands->tableBytes},
                         {const_cast<unsigned char*>(bands->bands), bands->bandBytes}});
        return;
    }
    if (!grey && pixels.bytesPerLine() == qsizetype(pixels.width()) * 4) {
        Bands& bands = packedBands(pixels);
        if (bands.greyCount > 0) {
            std::memcpy(header.magic, kBandedMagic, sizeof kBandedMagic);
            std::vector<iovec> parts = bandParts(pixels, bands);
            parts.insert(parts.begin(), iovec{&header, sizeof header});
            writeFile(path, std::move(parts));
            return;
        }
    }
    std::memcpy(header.magic, grey ? kGreyMagic : kMagic, sizeof kMagic);
    writeFile(path,
              {{&header, sizeof header},
               {const_cast<uchar*>(pixels.constBits()), static_cast<std::size_t>(pixels.sizeInBytes())}});
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
    const bool banded = readable && std::memcmp(header.magic, kBandedMagic, sizeof kBandedMagic) == 0;
    if (!readable || !(grey || rgb32 || banded) || header.width == 0 || header.height == 0 ||
        header.width > 65535 || header.height > 65535 ||
        header.bytesPerLine < std::uint64_t(header.width) * (grey ? 1 : 4) ||
        (!banded && std::uint64_t(status.st_size) != sizeof header + pixelBytes)) {
        ::close(fd);
        throw AppError(platform::ErrorNumber::InvalidPicture);
    }
    const auto size = static_cast<std::size_t>(status.st_size);
    if (banded) {
        std::string contents = contentsOf(fd, size);
        ::close(fd);
        if (contents.size() != size) throw AppError(platform::ErrorNumber::InvalidPicture);
        const QImage picture = bandedPicture(std::move(contents), int(header.width), int(header.height));
        if (picture.isNull()) throw AppError(platform::ErrorNumber::InvalidPicture);
        return picture;
    }
    // Populated at once: taking the file's pages one fault at a time costs more than reading them.
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
