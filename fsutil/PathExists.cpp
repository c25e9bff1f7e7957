#include "fsutil/PathExists.h"

#include <sys/stat.h>

#include "fsutil/NativeNames.h"

namespace Shell32 {

bool PathExists(const QString& path) {
    if (path.isEmpty()) return false;
    // Opening with no access rights only needs the path to lead to the file, so stat answers the
    // same question without opening anything. Only regular files count: a folder, a device or a
    // pipe is no document, and opening a pipe would block the caller.
    struct stat info {};
    return ::stat(fsutil::nativePath(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace Shell32
