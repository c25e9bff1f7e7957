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
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

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

struct TurboJpegBuffer {
    unsigned char* data = nullptr;
    unsigned long size = 0;
    TurboJpegBuffer() = default;
    TurboJpegBuffer(TurboJpegBuffer&& other) noexcept : data(other.data), size(other.size) {
        other.data = nullptr;
    }
    TurboJpegBuffer(const TurboJpegBuffer&) = delete;
    TurboJpegBuffer& operator=(const TurboJpegBuffer&) = delete;
    ~TurboJpegBuffer() { tjFree(data); }
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

// A grey picture goes in as the JPEG's own planes: its pixels are the brightness plane as they
// stand, and both colour planes are the neutral 128 that red, green and blue alike convert to.
// The file is byte for byte the one its 32-bit picture gives, without the colour conversion and
// the halving of the colour planes. The planes come padded to whole pixel pairs, the edge pixel
// repeated, as the encoder pads a picture itself.
TurboJpegBuffer encodeGrey(const QImage& picture, int quality) {
    const int width = picture.width();
    const int height = picture.height();
    const int paddedWidth = width + (width & 1);
    const int paddedHeight = height + (height & 1);
    // Kept for the thread's next page: fresh megabytes cost a page fault for every 4 KB.
    thread_local std::vector<unsigned char> brightness;
    thread_local std::vector<unsigned char> neutral;
    const unsigned char* brightnessPlane = picture.constBits();
    int brightnessStride = static_cast<int>(picture.bytesPerLine());
    if (paddedWidth != width || paddedHeight != height) {
        brightness.resize(std::size_t(paddedWidth) * std::size_t(paddedHeight));
        for (int y = 0; y < paddedHeight; ++y) {
            const unsigned char* from = picture.constScanLine(std::min(y, height - 1));
            unsigned char* to = brightness.data() + std::size_t(y) * std::size_t(paddedWidth);
            std::memcpy(to, from, std::size_t(width));
            if (paddedWidth != width) to[width] = from[width - 1];
        }
        brightnessPlane = brightness.data();
        brightnessStride = paddedWidth;
    }
    const std::size_t colourSamples = std::size_t(paddedWidth / 2) * std::size_t(paddedHeight / 2);
    if (neutral.size() < colourSamples) neutral.assign(colourSamples, 128);
    const unsigned char* planes[3] = {brightnessPlane, neutral.data(), neutral.data()};
    const int strides[3] = {brightnessStride, paddedWidth / 2, paddedWidth / 2};

    TurboJpegHandle encoder;
    if (encoder.handle == nullptr) fail(OutOfMemory);
    TurboJpegBuffer jpeg;
    if (tjCompressFromYUVPlanes(encoder.handle, planes, width, strides, height, TJSAMP_420, &jpeg.data,
                                &jpeg.size, quality, TJFLAG_ACCURATEDCT) != 0) {
        failEncoding(encoder.handle);
    }
    return jpeg;
}

TurboJpegBuffer encode(const QImage& picture, int quality) {
    if (picture.format() == QImage::Format_Grayscale8) return encodeGrey(picture, quality);
    const QImage source = encodablePixels(picture);
    if (source.isNull()) fail(OutOfMemory);

    TurboJpegHandle encoder;
    if (encoder.handle == nullptr) fail(OutOfMemory);
    TurboJpegBuffer jpeg;
    // Colour at half resolution both ways (4:2:0) at every quality, as the system's own JPEG
    // encoder writes it: black text on white has no colour to lose, and the page costs half the
    // work to write here and to read in the converter. The accurate DCT keeps quality 100 exact.
    if (tjCompress2(encoder.handle, source.constBits(), source.width(),
                    static_cast<int>(source.bytesPerLine()), source.height(),
                    directPixelFormat(source.format()), &jpeg.data, &jpeg.size, TJSAMP_420, quality,
                    TJFLAG_ACCURATEDCT) != 0) {
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
