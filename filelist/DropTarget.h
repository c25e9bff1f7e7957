#pragma once

#include <QObject>

class QDropEvent;
class QMimeData;

namespace filelist {

class FileListView;
class ListWindow;

// Drops of files and folders on the list. Installed on the list's viewport: local files offered
// as a URL list are accepted, anything else shows the no-drop pointer. Files are appended as
// given, in drop order; a folder is replaced by every file of its tree.
class DropTarget : public QObject {
    Q_OBJECT
  public:
    explicit DropTarget(ListWindow& window, QObject* parent = nullptr);

    // Makes the window's list a drop target handled by a new DropTarget owned by the list.
    static DropTarget* install(ListWindow& window);

    // Appends what `data` offers. Never throws: a path that cannot be read is skipped.
    void dropOn(const QMimeData& data);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ListWindow& window_;
};

// The local file paths of a drag, in the order the source gives them; empty when there is none.
QStringList droppedLocalPaths(const QMimeData& data);

}  // namespace filelist
