// Interim folder walk so the list's adders build and run until the real one lands.
#include "fsutil/AddFolder.h"
#include "fsutil/Main.h"
#include "fsutil/PathExists.h"

#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"

#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>

namespace AddFolder {

void CollectSubfolders(QStringList& folders, bool recurse) {
    QStringList level;
    for (const QString& folder : std::as_const(folders)) {
        platform::yieldToEventLoop();
        const QStringList subs =
            QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Unsorted);
        for (const QString& sub : subs) level << folder + sub + QLatin1Char('/');
    }
    if (!level.isEmpty() && recurse) CollectSubfolders(level, true);
    folders << level;
}

QStringList ListFilesInFolder(QString folder, const QString& pattern) {
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    const QString glob = pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
    QStringList names;
    for (const QString& name :
         QDir(folder).entryList({glob}, QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted)) {
        if (Shell32::PathExists(folder + name)) names << name;
    }
    return names;
}

QString BrowseForFolder(QWidget* owner, const QString& title) {
    return platform::dialogs().browseForFolder(owner, title);
}

}  // namespace AddFolder

namespace Shell32 {
bool PathExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}
}  // namespace Shell32

namespace fsutil {
int FileAttributes(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
        throw platform::AppError(platform::ErrorNumber::FileNotFound);
    }
    int bits = 0;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) bits |= 1;
    if (QFileInfo(path).fileName().startsWith(QLatin1Char('.'))) bits |= 2;
    if (S_ISLNK(st.st_mode)) bits |= 1024;
    bits |= S_ISDIR(st.st_mode) ? 16 : 32;
    return bits;
}
}  // namespace fsutil
