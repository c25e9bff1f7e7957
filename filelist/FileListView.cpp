#include "filelist/FileListView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/AppError.h"

namespace filelist {

namespace {
constexpr long kIndexOutOfBounds = 35600;
}

FileListView::FileListView(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("ListView1"));
    // A flat report view: one column whose header the window's start-up names.
    setColumnCount(1);
    setHeaderLabel(QString());
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Entries move only by the list's own reorder gesture, never by Qt's drag of items.
    setDragEnabled(false);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    // The user widens the column past the view to read long paths; the view then scrolls sideways.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setSectionsMovable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setToolTip(
        QStringLiteral("Drag and drop files here. Double-click item to remove it. Move | line to right "
                       "and out of window to reveal full names."));
}

void FileListView::appendEntry(const QString& path) {
    auto* item = new QTreeWidgetItem(QStringList{path});
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    addTopLevelItem(item);
}

int FileListView::entryCount() const { return topLevelItemCount(); }

QTreeWidgetItem* FileListView::entryAt(int index) const {
    QTreeWidgetItem* item = index >= 1 ? topLevelItem(index - 1) : nullptr;
    if (item == nullptr) throw platform::AppError(kIndexOutOfBounds, QStringLiteral("Index out of bounds"));
    return item;
}

QString FileListView::entryText(int index) const { return entryAt(index)->text(0); }

void FileListView::setEntryText(int index, const QString& text) { entryAt(index)->setText(0, text); }

QStringList FileListView::entryTexts() const {
    QStringList texts;
    for (int i = 0; i < topLevelItemCount(); ++i) texts << topLevelItem(i)->text(0);
    return texts;
}

void FileListView::setBusyTest(std::function<bool()> isBusy) { isBusy_ = std::move(isBusy); }

void FileListView::keyPressEvent(QKeyEvent* event) {
    // Delete acts whatever Shift, Ctrl and Alt say; every other key is the view's own.
    if (event->key() == Qt::Key_Delete) {
        removeSelectedEntry();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void FileListView::mouseDoubleClickEvent(QMouseEvent* event) {
    // Only a double-click on an entry removes: one on blank space must not take away the entry
    // that happens to be selected elsewhere in the list.
    const bool onEntry = itemAt(event->position().toPoint()) != nullptr;
    QTreeWidget::mouseDoubleClickEvent(event);  // selects the entry under the pointer first
    if (onEntry) removeSelectedEntry();
}

void FileListView::removeSelectedEntry() {
    if (isBusy_ && isBusy_()) return;
    if (topLevelItemCount() == 0) return;
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) return;
    delete takeTopLevelItem(indexOfTopLevelItem(selected.front()));
}

}  // namespace filelist
