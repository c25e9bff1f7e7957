#pragma once

#include <QImage>
#include <QString>

namespace Word1 {

// The page picture file between the clipboard and Creator. Only this program reads it, so it
// holds the raw pixels behind a small header: 8-bit grey for a picture without colour, 32-bit, or
// a 32-bit picture in bands of rows with the bands without colour as grey bytes. Written in one
// call and read back by mapping the file, with no encoding either way.

// Writes the picture; throws platform::AppError saying why the file could not be written.
void savePagePicture(const QImage& picture, const QString& path);

// The picture in the file, its pixels mapped straight from it (the mapping outlives a deletion of
// the file), or a banded one widened to 32 bits. Throws platform::AppError when the file is missing or is no
// page picture.
QImage loadPagePicture(const QString& path);

}  // namespace Word1
