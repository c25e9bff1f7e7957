#include <gtest/gtest.h>

#include <QDir>
#include <QTimer>

#include "filelist/AddFolderFiles.h"
#include "fsutil/FileAttributes.h"
#include "platform/ProgramFolder.h"
#include "tests/filelist/TestListWindow.h"
#include "tests/support/FolderOrder.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/TestTree.h"

using testsupport::TestTree;

namespace {

const QString kPrompt = QStringLiteral(
    "Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all doc files, etc.)");

// A tree with documents and other files at three depths, lock files, a plain hidden file (34),
// a hidden read-only file (35) and a hidden folder.
class AddFolderFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"letter.doc", "notes.txt", "README", "~$letter.doc", ".draft.doc",
                                 ".kept.doc", "reports/q1.doc", "reports/~q1.doc", "reports/2017/annual.doc",
                                 "archive/old.doc", "archive/.cache/cached.doc"}) {
            tree.file(QString::fromLatin1(name));
        }
        TestTree::makeReadOnly(tree.root() + QStringLiteral("/.kept.doc"));
    }

    QStringList run(const QString& extension, const QString& folder) {
        dialogs.inputAnswers.push_back(extension);
        dialogs.folderAnswers.push_back(folder);
        filelist::PushButton4_Click(window);
        return window.list().entryTexts();
    }

    TestTree tree;
    testsupport::RecordingDialogs dialogs;
    testsupport::TestListWindow window;
};

TEST_F(AddFolderFilesTest, HiddenFilesCountByTheirExactAttributes) {
    EXPECT_EQ(fsutil::FileAttributes(tree.root() + QStringLiteral("/.draft.doc")), 34);
    EXPECT_EQ(fsutil::FileAttributes(tree.root() + QStringLiteral("/.kept.doc")), 35);
}

TEST_F(AddFolderFilesTest, StarAddsEveryFileOfTheTreeButLockAndPlainHiddenFiles) {
    const QStringList entries = run(QStringLiteral("*"), tree.root());
    QString why;
    EXPECT_TRUE(testsupport::inFolderWalkOrder(
        entries,
        tree.paths({"letter.doc", "notes.txt", "README", ".kept.doc", "reports/q1.doc",
                    "reports/2017/annual.doc", "archive/old.doc", "archive/.cache/cached.doc"}),
        why))
        << why.toStdString();

    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].kind, QStringLiteral("input"));
    EXPECT_EQ(dialogs.shown[0].text, kPrompt);
    EXPECT_EQ(dialogs.shown[0].caption, platform::applicationTitle());
    EXPECT_EQ(dialogs.shown[1].kind, QStringLiteral("folder"));
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("Please select folder:"));
    EXPECT_EQ(window.pointers, (std::vector<int>{11, 0}));
}

TEST_F(AddFolderFilesTest, AnExtensionAddsItsFilesAtEveryDepth) {
    const QStringList entries = run(QStringLiteral("doc"), tree.root());
    QString why;
    EXPECT_TRUE(testsupport::inFolderWalkOrder(
        entries,
        tree.paths({"letter.doc", ".kept.doc", "reports/q1.doc", "reports/2017/annual.doc", "archive/old.doc",
                    "archive/.cache/cached.doc"}),
        why))
        << why.toStdString();
    EXPECT_TRUE(dialogs.errorReports().empty());
}

TEST_F(AddFolderFilesTest, ASeedEndingInTheSeparatorGivesSingleSeparators) {
    const QStringList plain = run(QStringLiteral("*"), tree.root());
    window.list().clear();
    const QStringList fromRootForm = run(QStringLiteral("*"), tree.root() + QLatin1Char('/'));
    for (const QString& entry : fromRootForm)
        EXPECT_FALSE(entry.contains(QStringLiteral("//"))) << entry.toStdString();
    QString why;
    EXPECT_TRUE(testsupport::inFolderWalkOrder(fromRootForm, plain, why)) << why.toStdString();
}

TEST_F(AddFolderFilesTest, CancelOfEitherQuestionChangesNothing) {
    dialogs.inputAnswers.push_back(QString());
    filelist::PushButton4_Click(window);
    ASSERT_EQ(dialogs.shown.size(), 1u);  // no folder question after a cancelled extension

    dialogs.inputAnswers.push_back(QStringLiteral("doc"));
    dialogs.folderAnswers.push_back(QString());
    filelist::PushButton4_Click(window);
    EXPECT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(window.list().entryCount(), 0);
    EXPECT_TRUE(window.pointers.empty());
}

TEST_F(AddFolderFilesTest, AnExtensionThatMatchesNothingAddsAndShowsNothing) {
    EXPECT_TRUE(run(QStringLiteral("xyz"), tree.root()).isEmpty());
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(window.pointers, (std::vector<int>{11, 0}));
}

TEST_F(AddFolderFilesTest, StartedDuringABusyRunTheAdderLeavesTheHourglass) {
    window.setMousePointer(11);
    window.pointers.clear();
    run(QStringLiteral("doc"), tree.root());
    EXPECT_EQ(window.pointers, (std::vector<int>{11, 11}));
    EXPECT_FALSE(window.list().entryTexts().isEmpty());
}

TEST_F(AddFolderFilesTest, ASecondRunDoublesTheEntries) {
    const QStringList once = run(QStringLiteral("doc"), tree.root());
    ASSERT_FALSE(once.isEmpty());
    EXPECT_EQ(run(QStringLiteral("doc"), tree.root()), once + once);
}

// The steps of the error reports shown, in order.
QStringList reportedSteps(const testsupport::RecordingDialogs& dialogs) {
    QStringList steps;
    for (const auto& box : dialogs.errorReports())
        steps << box.text.section(QStringLiteral("at line "), 1).section(QLatin1Char('\r'), 0, 0);
    return steps;
}

// A folder that is gone holds no files: its loss is reported once, by the walk, and never again
// when its files are listed.
TEST_F(AddFolderFilesTest, AFolderGoneBeforeTheWalkIsReportedOnceAndLeavesTheWindowIdle) {
    run(QStringLiteral("doc"), tree.root() + QStringLiteral("/vanished"));
    EXPECT_EQ(window.list().entryCount(), 0);
    EXPECT_EQ(reportedSteps(dialogs), QStringList{"114"});
    EXPECT_EQ(window.pointers.back(), 0);
}

TEST_F(AddFolderFilesTest, AFolderRemovedDuringTheWalkIsListedAsEmpty) {
    const QString chosen = tree.folder(QStringLiteral("removed")).chopped(1);
    tree.file(QStringLiteral("removed/inside.doc"));
    // The walk lets the window's events through; one of them takes the folder away.
    QTimer::singleShot(0, [chosen] { QDir(chosen).removeRecursively(); });
    EXPECT_TRUE(run(QStringLiteral("doc"), chosen).isEmpty());
    EXPECT_TRUE(dialogs.errorReports().empty()) << reportedSteps(dialogs).join(' ').toStdString();
    EXPECT_EQ(window.pointers.back(), 0);
}

}  // namespace
