#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

namespace SaveAsJPG {

// Writes the whole picture, at its own size, as a JPEG file with the given quality (1..100; colour
// at half resolution both ways at every quality). The file appears complete or not at all. Throws
// platform::AppError(5, "Cannot save the image. GDI+ Error:<status>") with GDI+'s status numbers: 2 invalid
// parameter (null or empty picture, quality over 100), 3 out of memory, 7 the file cannot be written.
void SaveBitmapAsJPG(const QImage& picture, const QString& fileName, std::uint8_t quality);

}  // namespace SaveAsJPG
