#pragma once

#include <QString>

namespace Shell32 {

// True when `path` opens as an existing file (folders answer false).
bool PathExists(const QString& path);

}  // namespace Shell32
