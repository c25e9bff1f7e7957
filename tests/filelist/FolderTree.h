#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace testsupport {

// A folder tree in the scratch temporary folder, removed with the object.
class FolderTree {
public:
    FolderTree();
    QString root() const { return dir_.path(); }  // no trailing "/"
    // Creates the file `relative` (and its folders) below the root; returns its full path.
    QString file(const QString& relative);
    QString folder(const QString& relative);
    // Removes every write permission (chmod a-w).
    static void makeReadOnly(const QString& path);

    // The full paths of `relatives` below the root.
    QStringList paths(const QStringList& relatives) const;

private:
    QTemporaryDir dir_;
};

// True when `entries` hold exactly `expected` (in any order) and stand in folder-walk order: the
// files of one folder together, and the folders level by level (never a deeper folder's file
// before a shallower one's). Explains the first mismatch in `why`.
bool inFolderWalkOrder(const QStringList& entries, const QStringList& expected, QString& why);

}  // namespace testsupport
