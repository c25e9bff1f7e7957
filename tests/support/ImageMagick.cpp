#include "tests/support/ImageMagick.h"

#include <QProcess>

namespace testsupport {

QString imageMagickTool(const char* name) { return QStringLiteral("/usr/bin/") + QLatin1String(name); }

QImage decodeWithImageMagick(const QString& path) {
    QProcess convert;
    convert.start(imageMagickTool("convert"), {path, QStringLiteral("ppm:-")});
    if (!convert.waitForFinished(30000) || convert.exitCode() != 0) return {};
    return QImage::fromData(convert.readAllStandardOutput(), "PPM");
}

}  // namespace testsupport
