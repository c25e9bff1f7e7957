#pragma once

#include <QImage>
#include <QString>

namespace Word1 {

// The page picture file between the clipboard and Creator. Only this program reads it, so it
// holds the raw pixels (32-bit, or 8-bit grey for a picture without colour) behind a small
// header: written in one call, read back by mapping the file, with no encoding either way.

// Writes the picture; throws platform::AppError saying why the file could not be written.
void savePagePicture(const QImage& picture, const QString& path);

// The picture in the file, its pixels mapped straight from it (the mapping outlives a deletion of
// the file). Throws platform::AppError when the file is missing or is no page picture.
QImage loadPagePicture(const QString& path);

}  // namespace Word1
