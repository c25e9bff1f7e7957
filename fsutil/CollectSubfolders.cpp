#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QScopeGuard>
#include <cerrno>

#include "fsutil/AddFolder.h"
#include "fsutil/FileAttributes.h"
#include "fsutil/NativeNames.h"
#include "platform/AppError.h"
#include "platform/EventLoop.h"

namespace AddFolder {

namespace {

using fsutil::Attribute::Alias;

// Hidden system folders (junctions kept for compatibility) on the original platform. Linux has
// no system bit, so these values never occur here; symbolic links take their place below.
constexpr int kHiddenSystemFolder = 22;
constexpr int kHiddenSystemAlias = 1046;

// What the walk knows of one folder of the list.
struct Folder {
    int attributes = 0;
    bool root = false;
};

// A reachable folder, or an AppError: 76 when the path is missing or names no folder.
Folder getFolder(const QString& path) {
    struct stat info {};
    if (::stat(fsutil::nativePath(path).constData(), &info) != 0) {
        throw platform::AppError(fsutil::folderErrorNumber(errno));
    }
    if (!S_ISDIR(info.st_mode)) throw platform::AppError(platform::ErrorNumber::PathNotFound);
    return {fsutil::FileAttributes(path), fsutil::IsRootFolder(path)};
}

// Links are kept out like the junctions of the original platform: a link to an ancestor would
// make the walk endless. Only a seed the user chose may itself be a link.
bool passesFolderTest(const Folder& folder, bool linkAllowed) {
    if (folder.root) return true;
    if (folder.attributes == kHiddenSystemFolder || folder.attributes == kHiddenSystemAlias) return false;
    return linkAllowed || (folder.attributes & Alias) == 0;
}

QString childPath(const QString& folder, const QString& name) {
    const QString parent = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return parent + name + QLatin1Char('/');
}

// Is the entry a folder (or a link to one)? Sets `errorCode` when the parent cannot be walked;
// a link that leads nowhere is simply no folder.
bool isSubfolder(int parentFd, const dirent& entry, int& errorCode) {
    if (entry.d_type != DT_DIR && entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
    struct stat info {};
    // Needs search rights on the parent: a folder that can be listed but not entered fails here,
    // before its subfolders reach the list and make the next level fail outside the walk.
    if (::fstatat(parentFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT) errorCode = errno;  // ENOENT: gone meanwhile
        return false;
    }
    if (S_ISLNK(info.st_mode) && ::fstatat(parentFd, entry.d_name, &info, 0) != 0) return false;
    return S_ISDIR(info.st_mode);
}

// Appends the subfolders of `folder` to `level`. Returns 0, or the error number that stopped
// the walk; the subfolders found before the failure stay.
long walkSubfolders(const QString& folder, QStringList& level) {
    DIR* dir = ::opendir(fsutil::nativePath(folder).constData());
    if (dir == nullptr) return fsutil::folderErrorNumber(errno);
    const auto closeDir = qScopeGuard([dir] { ::closedir(dir); });
    const int fd = ::dirfd(dir);
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) return errno == 0 ? 0 : fsutil::folderErrorNumber(errno);
        const QByteArrayView rawName(entry->d_name);
        if (rawName == ".." || rawName == ".") continue;
        int errorCode = 0;
        if (!isSubfolder(fd, *entry, errorCode)) {
            if (errorCode != 0) return fsutil::folderErrorNumber(errorCode);
            continue;
        }
        platform::yieldToEventLoop();
        const std::optional<QString> name = fsutil::decodeNativeName(entry->d_name);
        if (!name || HasUnsafeCharacters(*name)) continue;
        level.append(childPath(folder, *name));
    }
}

// Returns how many folders it appended to `folders`.
qsizetype collectLevel(QStringList& folders, bool recurse, bool seedsMayBeLinks) {
    QStringList level;
    // Removals below must not disturb the walk over the list.
    const QStringList seeds = folders;
    for (const QString& folder : seeds) {
        const Folder info = getFolder(folder);
        platform::yieldToEventLoop();
        if (!passesFolderTest(info, seedsMayBeLinks)) continue;
        if (walkSubfolders(folder, level) == platform::ErrorNumber::PermissionDenied) {
            const qsizetype first = folders.indexOf(folder);
            if (first >= 0) folders.removeAt(first);
        }
    }
    const qsizetype deeper = (!level.isEmpty() && recurse) ? collectLevel(level, true, false) : 0;
    const qsizetype ownLevel = level.size() - deeper;
    qsizetype appended = 0;
    for (qsizetype i = 0; i < level.size(); ++i) {
        platform::yieldToEventLoop();
        // Deeper folders passed the test in the call that appended them; testing them again on
        // every level up would make a deep tree cost depth times as much.
        if (i >= ownLevel || passesFolderTest(getFolder(level[i]), false)) {
            folders.append(level[i]);
            ++appended;
        }
    }
    return appended;
}

}  // namespace

void CollectSubfolders(QStringList& folders, bool recurse) { collectLevel(folders, recurse, true); }

}  // namespace AddFolder
