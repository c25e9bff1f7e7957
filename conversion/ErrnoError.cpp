#include "conversion/ErrnoError.h"

#include <cerrno>

namespace Main {

platform::AppError errorFromErrno(int error) {
    using namespace platform::ErrorNumber;
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return platform::AppError(PathNotFound);
        case EACCES:
        case EPERM:
        case EROFS:
            return platform::AppError(PermissionDenied);
        case ENOSPC:
        case EDQUOT:
            return platform::AppError(61, QStringLiteral("Disk full"));
        default:
            return platform::AppError(PathFileAccess);
    }
}

}  // namespace Main
