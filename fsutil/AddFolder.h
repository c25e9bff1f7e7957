#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace AddFolder {

// Appends every subfolder below the folders of `folders` (each ending in "/"), level by level.
void CollectSubfolders(QStringList& folders, bool recurse);
// The names of the files in `folder` that match `pattern` and really exist.
QStringList ListFilesInFolder(QString folder, const QString& pattern);
// The folder picker: the chosen folder, or "" on cancel.
QString BrowseForFolder(QWidget* owner, const QString& title);

}  // namespace AddFolder
