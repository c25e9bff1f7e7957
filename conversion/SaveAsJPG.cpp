#include "conversion/SaveAsJPG.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "conversion/JpegPlanes.h"
#include "platform/AppError.h"
#include "shared/WriteAll.h"

namespace SaveAsJPG {

namespace {

// GDI+ status numbers, as the error report shows them.
enum Status { InvalidParameter = 2, OutOfMemory = 3, Win32Error = 7, GenericError = 1 };

[[noreturn]] void fail(int status) {
    throw platform::AppError(platform::ErrorNumber::InvalidProcedureCall,
                             QStringLiteral("Cannot save the image. GDI+ Error:") + QString::number(status));
}

struct TurboJpegHandle {
    tjhandle handle = tjInitCompress();
    ~TurboJpegHandle() {
        if (handle != nullptr) tjDestroy(handle);
    }
};

// The JPEG of one call, in the calling thread's output buffer until its next call.
struct TurboJpegBuffer {
    unsigned char* data = nullptr;
    unsigned long size = 0;
};

// The pixel layout TurboJPEG reads straight from the picture's memory, or -1 when it needs converting.
int directPixelFormat(QImage::Format format) {
    switch (format) {
        case QImage::Format_RGB888:
            return TJPF_RGB;
        case QImage::Format_BGR888:
            return TJPF_BGR;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        // 0xAARRGGBB words lie in memory as B, G, R, A; the alpha byte is skipped (pixels are opaque here).
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
        case QImage::Format_ARGB32_Premultiplied:
            return TJPF_BGRX;
#endif
        case QImage::Format_RGBX8888:
        case QImage::Format_RGBA8888:
        case QImage::Format_RGBA8888_Premultiplied:
            return TJPF_RGBX;
        default:
            return -1;
    }
}

bool hasTransparentPixels(const QImage& picture) {
    if (!picture.hasAlphaChannel()) return false;
    const bool argb =
        picture.format() == QImage::Format_ARGB32 || picture.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage pixels = argb ? picture : picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            if (qAlpha(line[x]) != 255) return true;
        }
    }
    return false;
}

// The picture in a layout TurboJPEG reads straight from memory, converted only when it must be.
QImage encodablePixels(const QImage& picture) {
    if (hasTransparentPixels(picture)) {
        // JPEG has no transparency: a transparent background would come out black, so lay it on paper.
        QImage flat(picture.size(), QImage::Format_RGB32);
        if (flat.isNull()) return flat;
        flat.fill(Qt::white);
        QPainter painter(&flat);
        painter.drawImage(0, 0, picture);
        return flat;
    }
    if (directPixelFormat(picture.format()) >= 0) return picture;  // shares the pixels, copies nothing
    return picture.convertToFormat(QImage::Format_RGB888);
}

[[noreturn]] void failEncoding(tjhandle encoder) {
    const std::string message = tjGetErrorStr2(encoder);
    const bool memory =
        message.find("alloc") != std::string::npos || message.find("memory") != std::string::npos;
    fail(memory ? OutOfMemory : GenericError);
}

// Colour at half resolution both ways (4:2:0) at every quality, as the system's own JPEG encoder
// writes it: black text on white has no colour to lose, and the page costs half the work to write
// here and to read in the converter. The accurate DCT keeps quality 100 exact.
constexpr int kSubsampling = TJSAMP_420;
constexpr int kFlags = TJFLAG_ACCURATEDCT;

// The thread's output buffer, as large as the JPEG of any picture of that size can be: kept for the
// next page, as fresh megabytes cost a page fault (and a cleared page) for every 4 KB.
TurboJpegBuffer outputBuffer(const QImage& picture) {
    struct Kept {
        unsigned char* data = nullptr;
        unsigned long capacity = 0;
        ~Kept() { tjFree(data); }
    };
    thread_local Kept kept;
    const unsigned long needed = tjBufSize(picture.width(), picture.height(), kSubsampling);
    if (needed == static_cast<unsigned long>(-1)) fail(InvalidParameter);
    if (needed > kept.capacity) {
        tjFree(kept.data);
        kept.data = tjAlloc(static_cast<int>(std::min<unsigned long>(needed, INT_MAX)));
        kept.capacity = kept.data != nullptr && needed <= INT_MAX ? needed : 0;
        if (kept.capacity == 0) fail(OutOfMemory);
    }
    return {kept.data, kept.capacity};
}

TurboJpegBuffer compressPlanes(tjhandle encoder, JpegPlanes planes, const QImage& picture, int quality) {
    TurboJpegBuffer jpeg = outputBuffer(picture);
    if (tjCompressFromYUVPlanes(encoder, planes.planes, picture.width(), planes.strides, picture.height(),
                                kSubsampling, &jpeg.data, &jpeg.size, quality,
                                kFlags | TJFLAG_NOREALLOC) != 0) {
        failEncoding(encoder);
    }
    return jpeg;
}

TurboJpegBuffer encode(const QImage& picture, int quality) {
    TurboJpegHandle encoder;
    if (encoder.handle == nullptr) fail(OutOfMemory);
    // Grey pictures, and 32-bit ones band by band, go in as the JPEG's own planes: the colour
    // conversion and the halving of the colour planes are left out where there is no colour.
    if (picture.format() == QImage::Format_Grayscale8)
        return compressPlanes(encoder.handle, greyPlanes(picture), picture, quality);
    const QImage source = encodablePixels(picture);
    if (source.isNull()) fail(OutOfMemory);
    const int pixelFormat = directPixelFormat(source.format());
    if (pixelFormat == TJPF_BGRX) {
        if (const std::optional<JpegPlanes> planes = bandedPlanes(encoder.handle, source))
            return compressPlanes(encoder.handle, *planes, source, quality);
    }
    TurboJpegBuffer jpeg = outputBuffer(source);
    if (tjCompress2(encoder.handle, source.constBits(), source.width(),
                    static_cast<int>(source.bytesPerLine()), source.height(), pixelFormat, &jpeg.data,
                    &jpeg.size, kSubsampling, quality, kFlags | TJFLAG_NOREALLOC) != 0) {
        failEncoding(encoder.handle);
    }
    return jpeg;
}

// The process's file creation mask, read without changing it: setting it to read it would let a
// file made meanwhile on another thread (or a program started then) get the wrong permissions.
mode_t creationMask() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok) return static_cast<mode_t>(mask);
            }
        }
    }
    return 022;
}

// Writes beside the target under a hidden temporary name and renames it into place, so a failed
// write (missing folder, no permission, full disk) leaves neither a partial file nor the temporary one.
void writeFileAtomically(const QString& fileName, const TurboJpegBuffer& jpeg) {
    const QFileInfo target(fileName);
    if (target.exists() && (target.isDir() || !target.isWritable())) fail(Win32Error);
    const QByteArray targetPath = QFile::encodeName(fileName);
    QByteArray tempPath =
        QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName()) + ".XXXXXX";
    const int fd = ::mkstemp(tempPath.data());
    if (fd < 0) fail(Win32Error);

    bool ok = ::fchmod(fd, 0666 & ~creationMask()) == 0;
    ok = shared::writeAll(fd, jpeg.data, jpeg.size) && ok;
    ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(tempPath.constData(), targetPath.constData()) == 0;
    if (!ok) {
        ::unlink(tempPath.constData());
        fail(Win32Error);
    }
}

}  // namespace

void SaveBitmapAsJPG(const QImage& picture, const QString& fileName, std::uint8_t quality) {
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0 || quality > 100 ||
        picture.width() > 65535 || picture.height() > 65535 || fileName.isEmpty()) {
        fail(InvalidParameter);
    }
    const TurboJpegBuffer jpeg = encode(picture, std::max<int>(quality, 1));
    writeFileAtomically(fileName, jpeg);
}

}  // namespace SaveAsJPG
