#pragma once

#include <QString>

namespace Shell32 {

// True when the path names an existing regular file (a link to one counts). Folders, devices,
// missing paths and unmatched wildcard names answer false. Needs no read access to the file.
bool PathExists(const QString& path);

}  // namespace Shell32
