// The list itself: entries, the 1-based reading the batch run uses, and removal by double-click
// and Delete, held off while the window is busy.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTest>

#include "filelist/FileListView.h"
#include "platform/AppError.h"

namespace {

using filelist::FileListView;

class FileList : public ::testing::Test {
  protected:
    void SetUp() override {
        list.resize(520, 169);
        list.setBusyTest([this] { return busy; });
        list.show();
    }
    void fill(std::initializer_list<const char*> paths) {
        for (const char* path : paths) list.appendEntry(QString::fromUtf8(path));
    }
    void select(int index) { list.setCurrentItem(list.topLevelItem(index - 1)); }
    void doubleClick(int index) {
        const QRect row = list.visualItemRect(list.topLevelItem(index - 1));
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    }
    FileListView list;
    bool busy = false;
};

TEST_F(FileList, OneColumnNoSortingNoItemDragging) {
    EXPECT_EQ(list.objectName(), QStringLiteral("ListView1"));
    EXPECT_EQ(list.columnCount(), 1);
    EXPECT_FALSE(list.isHeaderHidden());
    EXPECT_FALSE(list.isSortingEnabled());
    EXPECT_FALSE(list.dragEnabled());
    EXPECT_FALSE(list.header()->stretchLastSection());  // the column can be widened past the view
    EXPECT_EQ(list.toolTip(),
              QStringLiteral("Drag and drop files here. Double-click item to remove it. Move | line "
                             "to right and out of window to reveal full names."));
}

TEST_F(FileList, EntriesKeepTheirOrderAndDuplicates) {
    fill({"/docs/b.docx", "/docs/a.docx", "/docs/b.docx"});
    EXPECT_EQ(list.entryCount(), 3);
    EXPECT_EQ(list.entryTexts(), (QStringList{"/docs/b.docx", "/docs/a.docx", "/docs/b.docx"}));
    EXPECT_EQ(list.entryText(1), QStringLiteral("/docs/b.docx"));
    EXPECT_EQ(list.entryText(3), QStringLiteral("/docs/b.docx"));
    list.setEntryText(2, QStringLiteral("/docs/c.docx"));
    EXPECT_EQ(list.entryText(2), QStringLiteral("/docs/c.docx"));
}

TEST_F(FileList, ReadingAGoneEntryFails) {
    fill({"/docs/a.docx"});
    for (const int index : {0, 2}) {
        try {
            (void)list.entryText(index);
            ADD_FAILURE() << "entry " << index << " was read";
        } catch (const platform::AppError& error) {
            EXPECT_EQ(error.number(), 35600);
            EXPECT_EQ(error.description(), QStringLiteral("Index out of bounds"));
        }
    }
    EXPECT_THROW(list.setEntryText(2, QStringLiteral("x")), platform::AppError);
}

TEST_F(FileList, DeleteRemovesTheSelectedEntryWhateverTheModifiers) {
    fill({"/a.docx", "/b.docx", "/c.docx", "/d.docx"});
    select(2);
    QTest::keyClick(&list, Qt::Key_Delete);
    EXPECT_EQ(list.entryTexts(), (QStringList{"/a.docx", "/c.docx", "/d.docx"}));
    select(1);
    QTest::keyClick(&list, Qt::Key_Delete, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(list.entryTexts(), (QStringList{"/c.docx", "/d.docx"}));
    select(1);
    QTest::keyClick(&list, Qt::Key_Backspace);  // only Delete removes
    EXPECT_EQ(list.entryCount(), 2);
}

TEST_F(FileList, NothingIsRemovedWithoutSelectionOnAnEmptyListOrWhileBusy) {
    QTest::keyClick(&list, Qt::Key_Delete);  // empty
    fill({"/a.docx", "/b.docx"});
    list.clearSelection();
    QTest::keyClick(&list, Qt::Key_Delete);
    EXPECT_EQ(list.entryCount(), 2);
    busy = true;
    select(1);
    QTest::keyClick(&list, Qt::Key_Delete);
    doubleClick(1);
    EXPECT_EQ(list.entryCount(), 2);
}

TEST_F(FileList, DoubleClickRemovesTheEntryClicked) {
    fill({"/a.docx", "/b.docx", "/c.docx"});
    doubleClick(3);
    EXPECT_EQ(list.entryTexts(), (QStringList{"/a.docx", "/b.docx"}));
    // Below the last entry there is nothing to remove, even with an entry selected.
    select(1);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                       QPoint(20, list.viewport()->height() - 5));
    EXPECT_EQ(list.entryCount(), 2);
}

}  // namespace
