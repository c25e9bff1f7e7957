#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QTimer>

class QMouseEvent;
class QTreeWidgetItem;

namespace filelist {

class FileListView;
class ListWindow;

// Reordering the list with the mouse: press on an entry and move with the button held; every step
// over another entry exchanges the two texts, so the carried path travels up or down. The list
// scrolls one entry per exchange while the pointer is high or low in the list, measured in the
// list itself, so the window may stand anywhere on the screen.
class ListReorder : public QObject {
    Q_OBJECT
  public:
    explicit ListReorder(ListWindow& window, QObject* parent = nullptr);

    // Watches the window's list with a new ListReorder owned by the list.
    static ListReorder* install(ListWindow& window);

    bool dragActive() const { return dragActive_; }
    // The row (0-based) of the entry being carried, -1 for none or when it left the list.
    int dragRow() const { return dragItem_.isValid() ? dragItem_.row() : -1; }

    // The band across the middle of the list where nothing scrolls, in pixels: above it the list
    // scrolls up, from its end down.
    static constexpr int kStillBandHeight = 60;
    // A pointer held still where the list has just scrolled lies over the next entry: that is a
    // step of its own, taken after this pause, so holding at the edge carries the entry on.
    static constexpr int kHeldStepMilliseconds = 100;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void mouseDown();
    void itemPressed();
    bool mouseMove(const QPoint& viewportPos);
    void mouseUp();
    bool scrollNear(int row, int viewportY);

    ListWindow& window_;
    bool dragActive_ = false;         // DragActive
    QPersistentModelIndex dragItem_;  // DragItem: follows the entry, invalid once it is removed
    QPoint heldAt_;                   // where the pointer rests while the list scrolled under it
    QTimer heldStep_;
};

}  // namespace filelist
