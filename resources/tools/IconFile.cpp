#include "IconFile.h"

#include <QtEndian>
#include <stdexcept>

namespace icontool {

namespace {
constexpr quint16 kIconType = 1;
constexpr quint16 kCursorType = 2;
constexpr int kDirectoryHeader = 6;
constexpr int kDirectoryEntry = 16;
constexpr int kBitmapInfoHeader = 40;

void putWord(QByteArray& out, quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void putLong(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

// One image as stored in the file: a bitmap header whose height counts the colour rows and the
// mask rows, the colour rows bottom-up in BGRA, then the 1-bit mask (1 = transparent), each
// mask row padded to 32 bits.
QByteArray imageBytes(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const int maskRowBytes = ((width + 31) / 32) * 4;
    QByteArray out;
    putLong(out, kBitmapInfoHeader);
    putLong(out, static_cast<quint32>(width));
    putLong(out, static_cast<quint32>(height * 2));
    putWord(out, 1);   // planes
    putWord(out, 32);  // bits per pixel
    putLong(out, 0);   // no compression
    putLong(out, static_cast<quint32>(width * height * 4 + maskRowBytes * height));
    for (int i = 0; i < 4; ++i) putLong(out, 0);  // resolution and palette: unused
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            out.append(static_cast<char>(qBlue(row[x])));
            out.append(static_cast<char>(qGreen(row[x])));
            out.append(static_cast<char>(qRed(row[x])));
            out.append(static_cast<char>(qAlpha(row[x])));
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray mask(maskRowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            if (qAlpha(row[x]) == 0) mask[x / 8] = static_cast<char>(mask[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(mask);
    }
    return out;
}

// The directory describes each image; in a cursor the two fields after the reserved byte hold
// the hot spot instead of planes and bit count.
QByteArray fileBytes(quint16 type, const std::vector<QImage>& images, QPoint hotSpot) {
    if (images.empty()) throw std::invalid_argument("no image");
    std::vector<QByteArray> bodies;
    for (const QImage& image : images) {
        if (image.width() < 1 || image.width() > 256 || image.height() < 1 || image.height() > 256) {
            throw std::invalid_argument("image size out of range");
        }
        bodies.push_back(imageBytes(image));
    }
    QByteArray out;
    putWord(out, 0);
    putWord(out, type);
    putWord(out, static_cast<quint16>(images.size()));
    quint32 offset = kDirectoryHeader + kDirectoryEntry * static_cast<quint32>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.append(static_cast<char>(images[i].width() & 0xff));  // 256 is written as 0
        out.append(static_cast<char>(images[i].height() & 0xff));
        out.append('\0');  // no palette
        out.append('\0');
        putWord(out, type == kCursorType ? static_cast<quint16>(hotSpot.x()) : 1);
        putWord(out, type == kCursorType ? static_cast<quint16>(hotSpot.y()) : 32);
        putLong(out, static_cast<quint32>(bodies[i].size()));
        putLong(out, offset);
        offset += static_cast<quint32>(bodies[i].size());
    }
    for (const QByteArray& body : bodies) out.append(body);
    return out;
}
}  // namespace

QByteArray iconFileBytes(const std::vector<QImage>& images) { return fileBytes(kIconType, images, QPoint()); }

QByteArray cursorFileBytes(const QImage& image, QPoint hotSpot) {
    return fileBytes(kCursorType, {image}, hotSpot);
}

}  // namespace icontool
