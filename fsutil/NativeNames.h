#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace fsutil {

// A path as bytes for the system calls.
QByteArray nativePath(const QString& path);

// A name read from a directory, or nothing when its bytes are not valid UTF-8 (such a name
// cannot travel through QString and back to the same file).
std::optional<QString> decodeNativeName(const char* name);

// The run-time error for a failed system call on a folder: 70 for a denied access, 76 for a
// missing folder, 75 for anything else.
long folderErrorNumber(int errorCode);

}  // namespace fsutil
