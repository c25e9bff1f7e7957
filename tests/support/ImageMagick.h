#pragma once

#include <QImage>
#include <QString>

namespace testsupport {

// One of ImageMagick's tools ("convert", "compare", "identify") by its Debian path: another
// program of the same name may come first in PATH.
QString imageMagickTool(const char* name);

// A picture file (PCX, JPEG, ...) as ImageMagick decodes it; a null image when it cannot.
QImage decodeWithImageMagick(const QString& path);

}  // namespace testsupport
