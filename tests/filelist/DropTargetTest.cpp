#include <gtest/gtest.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <memory>

#include "filelist/DropTarget.h"
#include "tests/filelist/TestListWindow.h"
#include "tests/support/FolderOrder.h"
#include "tests/support/TestTree.h"

using testsupport::TestTree;

namespace {

std::unique_ptr<QMimeData> filesData(const QStringList& paths) {
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

class DropTargetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        target = filelist::DropTarget::install(window);
        window.resize(400, 300);
        window.show();
        for (const char* name :
             {"one/a.doc", "one/notes.txt", "one/~$a.doc", "one/.plain-hidden", "one/deep/b.docx",
              "two/c.doc", "two/sub/d.rtf", "loose/x.pdf", "loose/y.docx", "loose/z"}) {
            tree.file(QString::fromLatin1(name));
        }
    }

    QWidget* viewport() { return window.list().viewport(); }
    QPoint middle() { return viewport()->rect().center(); }

    // Enter and move over the list; true when the list offers the drop.
    bool offered(const QMimeData& data, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
        QDragEnterEvent enter(middle(), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &enter);
        QDragMoveEvent move(middle() + QPoint(0, 3), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &move);
        EXPECT_EQ(enter.isAccepted(), move.isAccepted());
        return enter.isAccepted();
    }

    // A whole drag: enter, move and drop, as the platform delivers them.
    QStringList drop(const QMimeData& data) {
        offered(data);
        QDropEvent event(QPointF(middle()), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(viewport(), &event);
        lastDropAction = event.dropAction();
        return window.list().entryTexts();
    }

    TestTree tree;
    testsupport::TestListWindow window;
    filelist::DropTarget* target = nullptr;
    Qt::DropAction lastDropAction = Qt::IgnoreAction;
};

TEST_F(DropTargetTest, TextIsNotOfferedAndNotDropped) {
    QMimeData text;
    text.setText(QStringLiteral("/some/file.doc"));
    EXPECT_FALSE(offered(text));
    EXPECT_TRUE(drop(text).isEmpty());
    target->dropOn(text);
    EXPECT_EQ(window.list().entryCount(), 0);

    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://hollenwick.example/a.doc"))});
    EXPECT_FALSE(offered(web));
}

TEST_F(DropTargetTest, FilesAreOfferedAsACopyNeverAMove) {
    const auto data = filesData(tree.paths({"loose/x.pdf"}));
    EXPECT_TRUE(offered(*data));
    drop(*data);
    EXPECT_EQ(lastDropAction, Qt::CopyAction);
    EXPECT_FALSE(offered(*data, Qt::MoveAction));  // taking a move would let the source delete the file
}

TEST_F(DropTargetTest, FilesAreAppendedAsGivenInDropOrderAgainEachTime) {
    const QStringList files = tree.paths({"loose/z", "loose/x.pdf", "loose/y.docx"});
    EXPECT_EQ(drop(*filesData(files)), files);
    EXPECT_EQ(drop(*filesData({files[1]})), files + QStringList{files[1]});
}

TEST_F(DropTargetTest, AFolderBecomesTheFilesOfItsTree) {
    QString why;
    EXPECT_TRUE(testsupport::inFolderWalkOrder(drop(*filesData(tree.paths({"one"}))),
                                               tree.paths({"one/a.doc", "one/notes.txt", "one/deep/b.docx"}),
                                               why))
        << why.toStdString();
}

TEST_F(DropTargetTest, FoldersAndFilesTogetherKeepTheDropOrder) {
    const QStringList entries = drop(*filesData(tree.paths({"two", "loose/y.docx", "one"})));
    ASSERT_EQ(entries.size(), 6);
    QString why;
    EXPECT_TRUE(
        testsupport::inFolderWalkOrder(entries.mid(0, 2), tree.paths({"two/c.doc", "two/sub/d.rtf"}), why))
        << why.toStdString();
    EXPECT_EQ(entries[2], tree.paths({"loose/y.docx"})[0]);
    EXPECT_TRUE(testsupport::inFolderWalkOrder(
        entries.mid(3), tree.paths({"one/a.doc", "one/notes.txt", "one/deep/b.docx"}), why))
        << why.toStdString();
}

TEST_F(DropTargetTest, APathGoneByTheDropIsSkippedAndTheRestStillCome) {
    const QStringList paths = tree.paths({"loose/x.pdf", "gone.doc", "gone-folder", "loose/y.docx"});
    EXPECT_EQ(drop(*filesData(paths)), (QStringList{paths[0], paths[3]}));
}

TEST_F(DropTargetTest, AFolderDroppedWithItsTrailingSeparatorGivesSingleSeparators) {
    const QStringList entries = drop(*filesData({tree.root() + QStringLiteral("/two/")}));
    EXPECT_EQ(entries.size(), 2);
    for (const QString& entry : entries)
        EXPECT_FALSE(entry.contains(QStringLiteral("//"))) << entry.toStdString();
}

}  // namespace
