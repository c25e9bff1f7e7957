#pragma once

#include <QString>

namespace fsutil {

// Attribute bits as the rest of the program tests them.
namespace Attribute {
constexpr int ReadOnly = 1;    // the owner may not write it
constexpr int Hidden = 2;      // the name starts with "."
constexpr int Directory = 16;  // a folder, or a link to one
constexpr int Archive = 32;    // everything that is not a folder
constexpr int Alias = 1024;    // a symbolic link
}  // namespace Attribute

// The attribute value of the path itself (a link is not followed for hidden, read-only and
// alias; the directory bit tells what it points to). A trailing "/" asks for a folder.
// Throws platform::AppError: 53 for a missing path, 70 when a folder on the way is closed.
int FileAttributes(const QString& path);

// True for "/" (or only slashes): the one root folder, which the folder walk always descends.
bool IsRootFolder(const QString& path);

}  // namespace fsutil
