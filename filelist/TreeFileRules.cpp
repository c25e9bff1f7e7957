#include "filelist/TreeFileRules.h"

#include <QFileInfo>

#include "fsutil/AddFolder.h"
#include "fsutil/FileAttributes.h"
#include "fsutil/PathExists.h"
#include "platform/AppError.h"

namespace filelist {

namespace {
constexpr int kHiddenAndArchive = 2 | 32;
}

bool isTildeName(const QString& name) { return name.startsWith(QLatin1Char('~')); }

bool isPlainHiddenFile(const QString& path) { return fsutil::FileAttributes(path) == kHiddenAndArchive; }

QString collapseDoubledSeparators(QString path) {
    return path.replace(QStringLiteral("//"), QStringLiteral("/"));
}

bool isAppendedTreeFile(const QString& path) { return Shell32::PathExists(path) && !isPlainHiddenFile(path); }

QString treeFilePath(const QString& folder, const QString& name) { return folder + QLatin1Char('/') + name; }

QString treeEntry(const QString& folder, const QString& name) {
    if (isTildeName(name)) return QString();
    const QString path = treeFilePath(folder, name);
    return isAppendedTreeFile(path) ? collapseDoubledSeparators(path) : QString();
}

QStringList filesOfFolder(const QString& folder, const QString& pattern) {
    if (!QFileInfo(folder).isDir()) return {};
    try {
        return AddFolder::ListFilesInFolder(folder, pattern);
    } catch (const platform::AppError&) {
        if (!QFileInfo(folder).isDir()) return {};  // gone in the meantime
        throw;
    }
}

QStringList treeFolders(const QString& root) {
    QStringList folders{root + QLatin1Char('/')};
    AddFolder::CollectSubfolders(folders, true);
    for (QString& folder : folders) folder.chop(1);
    return folders;
}

}  // namespace filelist
