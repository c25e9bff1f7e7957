#include "conversion/ErrnoError.h"

#include <cerrno>

#include "platform/ErrnoNumber.h"

namespace Main {

platform::AppError errorFromErrno(int error) {
    using namespace platform::ErrorNumber;
    switch (error) {
        case EROFS:
            return platform::AppError(PermissionDenied);
        case ENOSPC:
        case EDQUOT:
            return platform::AppError(61, QStringLiteral("Disk full"));
        default:
            // A file being written: what is missing on the way is its folder, 76 "Path not found".
            return platform::AppError(platform::errorNumberFromErrno(error, PathNotFound));
    }
}

}  // namespace Main
