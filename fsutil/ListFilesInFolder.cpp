#include <dirent.h>

#include <QScopeGuard>
#include <cerrno>

#include "fsutil/AddFolder.h"
#include "fsutil/NativeNames.h"
#include "fsutil/PathExists.h"
#include "fsutil/Wildcard.h"
#include "platform/AppError.h"

namespace AddFolder {

QStringList ListFilesInFolder(QString folder, const QString& pattern) {
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    DIR* dir = ::opendir(fsutil::nativePath(folder).constData());
    if (dir == nullptr) throw platform::AppError(fsutil::folderErrorNumber(errno));
    const auto closeDir = qScopeGuard([dir] { ::closedir(dir); });

    QStringList names;
    names.reserve(100);
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            if (errno != 0) throw platform::AppError(fsutil::folderErrorNumber(errno));
            break;
        }
        if (entry->d_type == DT_DIR) continue;
        // A name that is not valid UTF-8 could not be handed back to the file system.
        const std::optional<QString> name = fsutil::decodeNativeName(entry->d_name);
        if (!name || !fsutil::MatchesWildcard(*name, pattern)) continue;
        // Also keeps out links to folders, dangling links and special files.
        if (Shell32::PathExists(folder + *name)) names.append(*name);
    }
    return names;
}

}  // namespace AddFolder
