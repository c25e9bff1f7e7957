#pragma once

#include "platform/AppError.h"

namespace platform {

// The run-time error number of a failed file-system call: `missing` for a name that is not there
// (53 "File not found" where a file was asked for, 76 "Path not found" where a folder or a path
// was), 70 for a permission refused, otherwise `otherwise`.
long errorNumberFromErrno(int error, long missing, long otherwise = ErrorNumber::PathFileAccess);

}  // namespace platform
