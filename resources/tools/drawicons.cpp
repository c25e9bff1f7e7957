// Draws the program's pointers and icon and writes them as Windows cursor and icon files:
//   marrowdale-drawicons OUTDIR   writes OUTDIR/HAND-M.CUR, OUTDIR/drag.ico, OUTDIR/Marrowdale.ico,
//                                 OUTDIR/marrowdale.png (the desktop menu icon)
#include <QFile>
#include <QString>
#include <cstdio>
#include <vector>

#include "Drawings.h"
#include "IconFile.h"

namespace {
bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    using namespace icontool;
    std::vector<QImage> iconSizes;
    for (const int size : {16, 24, 32, 48, 64}) iconSizes.push_back(drawApplicationIcon(size));
    const bool written = writeFile(folder + QStringLiteral("/HAND-M.CUR"),
                                   cursorFileBytes(drawPointingHand(32), pointingHandHotSpot())) &&
                         writeFile(folder + QStringLiteral("/drag.ico"),
                                   iconFileBytes({drawPageStack(32), drawPageStack(16)})) &&
                         writeFile(folder + QStringLiteral("/Marrowdale.ico"), iconFileBytes(iconSizes)) &&
                         // The desktop menu's icon.
                         drawApplicationIcon(64).save(folder + QStringLiteral("/marrowdale.png"), "PNG");
    return written ? 0 : 1;
}
