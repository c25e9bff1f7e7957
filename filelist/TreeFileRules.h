#pragma once

#include <QString>
#include <QStringList>

namespace filelist {

// The rules the folder adders apply to each file of a folder tree before appending it.

// Names beginning with "~" (lock files such as "~$report.docx") are never added.
bool isTildeName(const QString& name);

// Attributes exactly hidden + archive (34): a plain hidden file, left out. A hidden file with
// any further bit (read-only, link) is added.
bool isPlainHiddenFile(const QString& path);

// Every "//" becomes "/", as a root folder's "/" plus the joining "/" would otherwise leave two.
QString collapseDoubledSeparators(QString path);

// A file of the tree that is appended: it still exists and is not a plain hidden file. Throws
// what the file's examination throws.
bool isAppendedTreeFile(const QString& path);

// The path of the file `name` of `folder`.
QString treeFilePath(const QString& folder, const QString& name);

// The list entry the file `name` of `folder` becomes under the rules above, or "" when the rules
// leave it out. Throws what the file's examination throws.
QString treeEntry(const QString& folder, const QString& name);

// The files of `folder` matching `pattern` (AddFolder::ListFilesInFolder). A folder that is gone,
// or is no folder any more, holds none: one removed while its tree was walked is listed as empty
// instead of failing a second time. Throws what listing an existing folder throws.
QStringList filesOfFolder(const QString& folder, const QString& pattern);

// The folders of the tree below `root`, the root first, each without its trailing "/".
QStringList treeFolders(const QString& root);

}  // namespace filelist
