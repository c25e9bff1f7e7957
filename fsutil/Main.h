#pragma once

#include <QString>

namespace fsutil {

// Attribute bits: 1 read-only, 2 hidden, 16 directory, 32 archive, 1024 symbolic link.
int FileAttributes(const QString& path);

}  // namespace fsutil
