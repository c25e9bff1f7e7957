#pragma once

#include <QString>
#include <QStringList>

namespace testsupport {

// The entries of a folder in the order the directory returns them (no "." or "..").
QStringList directoryOrder(const QString& folder);

// True when `entries` hold exactly `expected` (in any order) and stand in folder-walk order: the
// files of one folder together, and the folders level by level (never a deeper folder's file
// before a shallower one's). Explains the first mismatch in `why`.
bool inFolderWalkOrder(const QStringList& entries, const QStringList& expected, QString& why);

}  // namespace testsupport
