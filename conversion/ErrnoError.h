#pragma once

#include "platform/AppError.h"

namespace Main {

// The run-time error of a failed file-system call: 76 path not found, 70 permission denied,
// 61 disk full, otherwise 75 path/file access error.
platform::AppError errorFromErrno(int error);

}  // namespace Main
