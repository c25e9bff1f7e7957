#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Folder trees, the files of one folder, and the folder picker. Folder paths end in "/".
namespace AddFolder {

// Grows `folders` by the subfolders of its entries, breadth first: the entries it came with,
// then all first-level subfolders grouped by parent, then the next level, and so on, each
// group in directory order. Left out: names HasUnsafeCharacters rejects (with their subtree)
// and folders reached through a symbolic link (they can form loops); a seed that is a link is
// kept and walked. A folder whose contents may not be read is dropped with its subtree (a seed
// too: its first equal entry). With `recurse` false only one level is added.
// Yields to the event loop once per folder of the list, per subfolder read and per collected
// folder. Throws platform::AppError for a seed that is no folder (76) or cannot be reached (70);
// `folders` then holds what was removed or appended so far.
void CollectSubfolders(QStringList& folders, bool recurse);

// Names (without folder) of the files in `folder` matching the wildcard `pattern` ("*", "?",
// without regard to case; "*.*" matches every name), hidden ones included, folders not, in
// directory order; each name passed Shell32::PathExists. `folder` may end in "/" or not.
// Throws platform::AppError when the folder cannot be listed (76 missing, 70 denied).
QStringList ListFilesInFolder(QString folder, const QString& pattern);

// True when a folder name holds a control code, a code from 127 to 159, a "?" or half of a
// surrogate pair; such folders are left out of the walk.
bool HasUnsafeCharacters(const QString& name);

// The modal folder picker with `title`. Returns the chosen folder without an added "/" ("/"
// for the root), or "" when cancelled.
QString BrowseForFolder(QWidget* owner, const QString& title);

}  // namespace AddFolder
