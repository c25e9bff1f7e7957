#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <vector>

namespace icontool {

// The bytes of a Windows icon file (.ico) holding `images`, each a 32-bit picture with alpha
// and its transparency mask, as Windows and Qt's image readers read them. Sizes up to 256.
QByteArray iconFileBytes(const std::vector<QImage>& images);

// The bytes of a Windows cursor file (.cur): one picture and the point that does the pointing.
QByteArray cursorFileBytes(const QImage& image, QPoint hotSpot);

}  // namespace icontool
