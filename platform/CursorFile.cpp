#include "platform/CursorFile.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QtEndian>

namespace platform {

namespace {
constexpr quint16 kCursorType = 2;

// The hot spot of the first image of a cursor file: the directory entry holds it where an
// icon file holds its planes and bit count.
std::optional<QPoint> cursorHotSpot(const QByteArray& header) {
    if (header.size() < 6 + 16) return std::nullopt;
    const auto word = [&](int offset) { return qFromLittleEndian<quint16>(header.constData() + offset); };
    if (word(0) != 0 || word(2) != kCursorType || word(4) == 0) return std::nullopt;
    return QPoint(word(6 + 4), word(6 + 6));
}
}  // namespace

std::optional<QCursor> loadCursorFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray header = file.read(6 + 16);
    file.close();
    const QImage image(path);
    if (image.isNull()) return std::nullopt;
    const QPoint hotSpot = cursorHotSpot(header).value_or(QPoint(image.width() / 2, image.height() / 2));
    return QCursor(QPixmap::fromImage(image), hotSpot.x(), hotSpot.y());
}

}  // namespace platform
