// Interim list so the adders build and run until the list itself lands.
#include "filelist/FileListView.h"

#include "platform/AppError.h"

#include <QKeyEvent>

namespace filelist {

FileListView::FileListView(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("ListView1"));
    setColumnCount(1);
    setHeaderLabels({QStringLiteral(" Word File(s)")});
    setRootIsDecorated(false);
}

void FileListView::appendEntry(const QString& path) {
    auto* item = new QTreeWidgetItem(this);
    item->setText(0, path);
}

int FileListView::entryCount() const { return topLevelItemCount(); }

QString FileListView::entryText(int index) const {
    const QTreeWidgetItem* item = topLevelItem(index - 1);
    if (item == nullptr) throw platform::AppError(35600, QStringLiteral("Index out of bounds"));
    return item->text(0);
}

void FileListView::setEntryText(int index, const QString& text) {
    QTreeWidgetItem* item = topLevelItem(index - 1);
    if (item == nullptr) throw platform::AppError(35600, QStringLiteral("Index out of bounds"));
    item->setText(0, text);
}

QStringList FileListView::entryTexts() const {
    QStringList texts;
    for (int i = 0; i < topLevelItemCount(); ++i) texts << topLevelItem(i)->text(0);
    return texts;
}

void FileListView::setBusyTest(std::function<bool()> isBusy) { isBusy_ = std::move(isBusy); }

void FileListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        removeSelectedEntry();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void FileListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    removeSelectedEntry();
}

void FileListView::removeSelectedEntry() {
    if (isBusy_ && isBusy_()) return;
    delete currentItem();
}

}  // namespace filelist
