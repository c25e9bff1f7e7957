#pragma once

#include <QString>

// Small stateless helpers shared by the whole program. Paths use "/" as separator.
namespace Main {

// True when the path's last-modified time can be read (files and folders); false on any failure.
bool FileExists(const QString& path);

// True when the path's attributes can be read and carry the directory bit; false on any failure.
bool IsFolder(const QString& path);

// The text after the last "/": the whole path when it has none, "" when it ends in "/".
QString FileNameOfPath(const QString& path);

// Lets the window process pending events once, then deletes the file. Every failure is
// ignored, and a directory is never deleted.
void DeleteFileQuietly(const QString& path);

// Special folders by their shell number (0 and 16 desktop, 5 documents, 40 home), without a
// trailing "/". The desktop falls back to the home folder when there is no desktop folder.
// Unknown numbers and folders that do not exist give "".
QString SpecialFolderPath(int csidl);

// The desktop folder followed by exactly one "/". Throws platform::AppError(5) when there is
// neither a desktop nor a home folder.
QString DesktopFolderPath();

}  // namespace Main
