#include "filelist/TreeFileRules.h"

#include "fsutil/FileAttributes.h"

namespace filelist {

namespace {
constexpr int kHiddenAndArchive = 2 | 32;
}

bool isTildeName(const QString& name) { return name.startsWith(QLatin1Char('~')); }

bool isPlainHiddenFile(const QString& path) { return fsutil::FileAttributes(path) == kHiddenAndArchive; }

QString collapseDoubledSeparators(QString path) {
    return path.replace(QStringLiteral("//"), QStringLiteral("/"));
}

}  // namespace filelist
