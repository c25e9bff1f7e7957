#include "platform/ErrnoNumber.h"

#include <cerrno>

namespace platform {

long errorNumberFromErrno(int error, long missing, long otherwise) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return missing;
        case EACCES:
        case EPERM:
            return ErrorNumber::PermissionDenied;
        default:
            return otherwise;
    }
}

}  // namespace platform
