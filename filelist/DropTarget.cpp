#include "filelist/DropTarget.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "filelist/FileListView.h"
#include "filelist/ListWindow.h"
#include "filelist/TreeFileRules.h"
#include "fsutil/AddFolder.h"
#include "fsutil/FileAttributes.h"

namespace filelist {

namespace {
bool isFolder(const QString& path) {
    return (fsutil::FileAttributes(path) & fsutil::Attribute::Directory) != 0;  // a link to a folder too
}

// Every file of the folder's tree, each folder with its own listing; a folder that cannot be read
// on the way is passed over, the rest still come.
void appendFolderTree(FileListView& list, const QString& dropped) {
    for (const QString& folder : treeFolders(dropped)) {
        QStringList names;
        try {
            names = AddFolder::ListFilesInFolder(folder, QStringLiteral("*.*"));
        } catch (...) {
            continue;
        }
        for (const QString& name : std::as_const(names)) {
            QString entry;
            try {
                entry = treeEntry(folder, name);
            } catch (...) {
                continue;  // gone between the listing and the test
            }
            if (!entry.isEmpty()) list.appendEntry(entry);
        }
    }
}

// Taking the drop as a copy or link keeps the source from deleting the files it offered as a move.
bool chooseHarmlessAction(QDropEvent& event) {
    if (event.possibleActions() & Qt::CopyAction) {
        event.setDropAction(Qt::CopyAction);
    } else if (event.possibleActions() & Qt::LinkAction) {
        event.setDropAction(Qt::LinkAction);
    } else {
        return false;
    }
    return true;
}
}  // namespace

QStringList droppedLocalPaths(const QMimeData& data) {
    QStringList paths;
    if (!data.hasUrls()) return paths;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty()) paths << url.toLocalFile();
    }
    return paths;
}

DropTarget::DropTarget(ListWindow& window, QObject* parent) : QObject(parent), window_(window) {}

DropTarget* DropTarget::install(ListWindow& window) {
    FileListView& list = window.list();
    auto* target = new DropTarget(window, &list);
    list.setAcceptDrops(true);
    list.viewport()->setAcceptDrops(true);
    list.viewport()->installEventFilter(target);
    return target;
}

void DropTarget::dropOn(const QMimeData& data) {
    FileListView& list = window_.list();
    for (const QString& path : droppedLocalPaths(data)) {
        try {
            const QFileInfo info(path);
            if (!info.exists() && !info.isSymLink()) continue;  // gone since the drag began
            if (isFolder(path)) {
                appendFolderTree(list, path);
            } else {
                list.appendEntry(path);
            }
        } catch (...) {
            // A path that cannot be examined is skipped; the drop goes on with the next one.
        }
    }
}

bool DropTarget::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            const QMimeData* data = drag->mimeData();
            if (data != nullptr && !droppedLocalPaths(*data).isEmpty() && chooseHarmlessAction(*drag)) {
                drag->accept();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QMimeData* data = drop->mimeData();
            if (data == nullptr || !chooseHarmlessAction(*drop)) {
                drop->ignore();
                return true;
            }
            drop->accept();
            try {
                dropOn(*data);
            } catch (...) {
                // Nothing of a drop may end the program.
            }
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace filelist
