#include "fsutil/FileAttributes.h"

#include <sys/stat.h>

#include <cerrno>

#include "fsutil/NativeNames.h"
#include "platform/AppError.h"
#include "platform/ErrnoNumber.h"

namespace fsutil {

namespace {

bool isHiddenName(const QString& name) {
    return name.startsWith(QLatin1Char('.')) && name != QLatin1String(".") && name != QLatin1String("..");
}

}  // namespace

bool IsRootFolder(const QString& path) {
    if (path.isEmpty()) return false;
    for (const QChar c : path) {
        if (c != QLatin1Char('/')) return false;
    }
    return true;
}

int FileAttributes(const QString& path) {
    if (path.isEmpty()) throw platform::AppError(platform::ErrorNumber::FileNotFound);
    // lstat would follow a link named with a trailing "/", so the slash is taken off and
    // turned into the demand that the path be a folder.
    QString itself = path;
    bool mustBeFolder = false;
    while (itself.size() > 1 && itself.endsWith(QLatin1Char('/'))) {
        itself.chop(1);
        mustBeFolder = true;
    }
    const QByteArray native = nativePath(itself);
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0) {
        // GetAttr names a file: a missing one is 53, "File not found".
        throw platform::AppError(platform::errorNumberFromErrno(errno, platform::ErrorNumber::FileNotFound));
    }

    int attributes = 0;
    bool folder = S_ISDIR(info.st_mode);
    if (S_ISLNK(info.st_mode)) {
        attributes |= Attribute::Alias;
        struct stat target {};
        folder = ::stat(native.constData(), &target) == 0 && S_ISDIR(target.st_mode);
    }
    if (mustBeFolder && !folder) throw platform::AppError(platform::ErrorNumber::FileNotFound);
    attributes |= folder ? Attribute::Directory : Attribute::Archive;
    // Read-only is a property of the file, as on the original platform: the owner's write bit,
    // not whether this process may write (root may write everything).
    if ((info.st_mode & S_IWUSR) == 0) attributes |= Attribute::ReadOnly;
    if (!IsRootFolder(itself) && isHiddenName(itself.mid(itself.lastIndexOf(QLatin1Char('/')) + 1))) {
        attributes |= Attribute::Hidden;
    }
    return attributes;
}

}  // namespace fsutil
