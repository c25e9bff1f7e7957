#pragma once

#include <QString>

namespace filelist {

// The rules the folder adders apply to each file of a folder tree before appending it.

// Names beginning with "~" (lock files such as "~$report.docx") are never added.
bool isTildeName(const QString& name);

// Attributes exactly hidden + archive (34): a plain hidden file, left out. A hidden file with
// any further bit (read-only, link) is added.
bool isPlainHiddenFile(const QString& path);

// Every "//" becomes "/", as a root folder's "/" plus the joining "/" would otherwise leave two.
QString collapseDoubledSeparators(QString path);

}  // namespace filelist
