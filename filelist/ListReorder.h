#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QPoint>
#include <functional>

class QMouseEvent;
class QTreeWidgetItem;

namespace filelist {

class FileListView;
class ListWindow;

// Reordering the list with the mouse: press on an entry and move with the button held; every step
// over another entry exchanges the two texts, so the carried path travels up or down. The list
// scrolls one entry per exchange while the pointer is high or low on the screen.
class ListReorder : public QObject {
    Q_OBJECT
  public:
    using CursorPosition = std::function<QPoint()>;

    explicit ListReorder(ListWindow& window, QObject* parent = nullptr);

    // Watches the window's list with a new ListReorder owned by the list.
    static ListReorder* install(ListWindow& window);

    // The screen position of the pointer; QCursor::pos() unless a test sets its own.
    void setCursorPosition(CursorPosition position);

    bool dragActive() const { return dragActive_; }
    // The row (0-based) of the entry being carried, -1 for none or when it left the list.
    int dragRow() const { return dragItem_.isValid() ? dragItem_.row() : -1; }

    // Screen heights of the scroll rule: above the first the list scrolls up, from the second down.
    static constexpr int kScrollUpBelowY = 305;
    static constexpr int kScrollDownFromY = 365;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void mouseDown();
    void itemPressed();
    void mouseMove(const QPoint& viewportPos);
    void mouseUp();
    void scrollNear(int row);

    ListWindow& window_;
    CursorPosition cursorPosition_;
    bool dragActive_ = false;         // DragActive
    QPersistentModelIndex dragItem_;  // DragItem: follows the entry, invalid once it is removed
};

}  // namespace filelist
