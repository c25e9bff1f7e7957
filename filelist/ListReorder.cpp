#include "filelist/ListReorder.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>

#include "filelist/FileListView.h"
#include "filelist/ListWindow.h"
#include "platform/MousePointer.h"
#include "platform/ProgramFolder.h"

namespace filelist {

namespace {

// The carrying pointer, read afresh from drag.ico beside the program on every press; without a
// readable image the platform's closed hand shows instead.
QCursor carryingPointer() {
    const QPixmap image(platform::programFolder() + QStringLiteral("/drag.ico"));
    if (image.isNull()) return QCursor(Qt::ClosedHandCursor);
    return QCursor(image);
}
}  // namespace

ListReorder::ListReorder(ListWindow& window, QObject* parent) : QObject(parent), window_(window) {
    heldStep_.setSingleShot(true);
    heldStep_.setInterval(kHeldStepMilliseconds);
    connect(&heldStep_, &QTimer::timeout, this, [this] { mouseMove(heldAt_); });
}

ListReorder* ListReorder::install(ListWindow& window) {
    FileListView& list = window.list();
    auto* reorder = new ListReorder(window, &list);
    // Only the exchange moves entries: the list starts no drag of its own.
    list.setDragEnabled(false);
    list.viewport()->setMouseTracking(true);
    list.viewport()->installEventFilter(reorder);
    QObject::connect(&list, &QTreeWidget::itemPressed, reorder, [reorder] { reorder->itemPressed(); });
    return reorder;
}

bool ListReorder::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            mouseDown();
            break;
        case QEvent::MouseMove:
            // While an entry is carried the view must not select by itself: after a scroll it
            // would select the entry now under the pointer instead of the carried one.
            if (mouseMove(static_cast<QMouseEvent*>(event)->position().toPoint())) return true;
            break;
        case QEvent::MouseButtonRelease:
            mouseUp();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

void ListReorder::mouseDown() {
    dragActive_ = true;
    // Qt's own scrolling near the view's edges sends made-up moves, and every move here is an
    // exchange: while the button is held, only the rule of the carried entry scrolls the list.
    window_.list().setAutoScroll(false);
}

void ListReorder::itemPressed() {
    FileListView& list = window_.list();
    list.setCursor(carryingPointer());
    list.setDragEnabled(false);
    const QModelIndex selected = list.currentIndex();
    dragItem_ =
        selected.isValid() ? QPersistentModelIndex(selected.siblingAtColumn(0)) : QPersistentModelIndex();
}

bool ListReorder::mouseMove(const QPoint& viewportPos) {
    heldStep_.stop();
    if (window_.mousePointer() != platform::kPointerHourglass)
        window_.setMousePointer(platform::kPointerDefault);
    if (!dragActive_) return false;

    FileListView& list = window_.list();
    QTreeWidgetItem* hover = list.itemAt(viewportPos);  // HoverItem, for this step only
    QTreeWidgetItem* carried = dragItem_.isValid() ? list.topLevelItem(dragItem_.row()) : nullptr;
    if (hover == nullptr || carried == nullptr || hover->text(0) == carried->text(0)) return true;

    const int hoverRow = list.indexOfTopLevelItem(hover);
    const QString carriedText = carried->text(0);
    carried->setText(0, hover->text(0));
    hover->setText(0, carriedText);
    list.setCurrentItem(hover);
    dragItem_ = QPersistentModelIndex(list.model()->index(hoverRow, 0));
    if (scrollNear(hoverRow, viewportPos.y())) {
        heldAt_ = viewportPos;
        heldStep_.start();
    }
    return true;
}

// Answers whether the list scrolled.
bool ListReorder::scrollNear(int row, int viewportY) {
    FileListView& list = window_.list();
    const int middle = list.viewport()->height() / 2;
    const int before = list.verticalScrollBar()->value();
    if (viewportY < middle - kStillBandHeight / 2 && row > 0) {
        list.scrollToItem(list.topLevelItem(row - 1));
    } else if (viewportY >= middle + kStillBandHeight / 2 && row + 1 < list.topLevelItemCount()) {
        list.scrollToItem(list.topLevelItem(row + 1));
    }
    return list.verticalScrollBar()->value() != before;
}

void ListReorder::mouseUp() {
    dragActive_ = false;
    heldStep_.stop();
    window_.list().setCursor(Qt::ArrowCursor);
    window_.list().setAutoScroll(true);  // the keyboard's current entry is scrolled into view again
}

}  // namespace filelist
