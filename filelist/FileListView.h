#pragma once

#include <QStringList>
#include <QTreeWidget>
#include <functional>

namespace filelist {

// The list of documents to convert (object name "ListView1"): one column, one full path per entry,
// in conversion order. Double-click and Delete remove the selected entry unless the window is busy.
class FileListView : public QTreeWidget {
    Q_OBJECT
  public:
    explicit FileListView(QWidget* parent = nullptr);

    // The one append call every adder uses: a new entry at the end with `path` as its text.
    void appendEntry(const QString& path);
    int entryCount() const;
    QString entryText(int index) const;  // 1-based; throws AppError 35600 "Index out of bounds" when gone
    void setEntryText(int index, const QString& text);  // 1-based; same failure
    QStringList entryTexts() const;

    // Tells the list whether the window is busy (the hourglass pointer): removal does nothing then.
    void setBusyTest(std::function<bool()> isBusy);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void removeSelectedEntry();
    QTreeWidgetItem* entryAt(int index) const;  // throws when there is no such entry
    std::function<bool()> isBusy_;
};

}  // namespace filelist
