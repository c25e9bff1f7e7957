#include <gtest/gtest.h>

#include "filelist/AddFilesByDialog.h"
#include "platform/AppError.h"
#include "platform/ProgramFolder.h"
#include "tests/filelist/TestListWindow.h"
#include "tests/support/RecordingDialogs.h"

namespace {

QString picked(const QString& folder, const QStringList& names) {
    return folder + QChar(u'\0') + names.join(QChar(u'\0'));
}

// A dialog whose open fails with a given error number, as a dialog with a name buffer does.
class FailingFileDialog : public testsupport::RecordingDialogs {
  public:
    explicit FailingFileDialog(long number) : number_(number) {}
    QString openFiles(QWidget* owner, const QString& title, const QString& filter) override {
        RecordingDialogs::openFiles(owner, title, filter);
        throw platform::AppError(number_);
    }

  private:
    long number_;
};

class AddFilesByDialogTest : public ::testing::Test {
  protected:
    QStringList pick(const QString& answer) {
        dialogs.fileAnswers.push_back(answer);
        filelist::PushButton1_Click(window);
        return window.list().entryTexts();
    }
    testsupport::RecordingDialogs dialogs;
    testsupport::TestListWindow window;
};

TEST_F(AddFilesByDialogTest, CancelAddsAndShowsNothing) {
    EXPECT_TRUE(pick(QString()).isEmpty());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, QStringLiteral("files"));
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("Add File(s) - Use Ctrl & Shift to select multiple files"));
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Word Documents (*.do*)|*.do*|All Files (*.*)|*.*"));
}

TEST_F(AddFilesByDialogTest, OnePickedFileIsAddedAsReturned) {
    EXPECT_EQ(pick(QStringLiteral("/home/ann/My Reports/q1 final.docx")),
              QStringList{QStringLiteral("/home/ann/My Reports/q1 final.docx")});
}

TEST_F(AddFilesByDialogTest, SeveralFilesAreJoinedToTheirFolderInOrder) {
    EXPECT_EQ(pick(picked(QStringLiteral("/data/in"), {"b.docx", "a.doc", "notes.txt"})),
              (QStringList{"/data/in/b.docx", "/data/in/a.doc", "/data/in/notes.txt"}));
}

TEST_F(AddFilesByDialogTest, FilesInTheRootFolderGetOneSeparator) {
    EXPECT_EQ(pick(picked(QStringLiteral("/"), {"a.doc", "b.doc", "c.doc"})),
              (QStringList{"/a.doc", "/b.doc", "/c.doc"}));
}

TEST_F(AddFilesByDialogTest, PickingTheSameFileAgainAddsItAgain) {
    pick(QStringLiteral("/data/a.doc"));
    EXPECT_EQ(pick(QStringLiteral("/data/a.doc")), (QStringList{"/data/a.doc", "/data/a.doc"}));
    EXPECT_TRUE(dialogs.errorReports().empty());
}

TEST(AddFilesByDialogFailure, ATooLargeSelectionShowsItsOwnMessageAndAddsNothing) {
    FailingFileDialog dialogs(20476);
    testsupport::TestListWindow window;
    filelist::PushButton1_Click(window);
    EXPECT_EQ(window.list().entryCount(), 0);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    const auto& box = dialogs.shown[1];
    EXPECT_EQ(box.text, QStringLiteral("You've selected too many files to add.\r\r"
                                       "Please try adding via the \"Add All\" button."));
    EXPECT_EQ(box.caption, platform::applicationTitle());
    EXPECT_EQ(box.buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(box.icon, platform::MessageIcon::None);
}

TEST(AddFilesByDialogFailure, AnyOtherDialogFailureIsReportedWithItsStep) {
    FailingFileDialog dialogs(platform::ErrorNumber::PermissionDenied);
    testsupport::TestListWindow window;
    filelist::PushButton1_Click(window);
    EXPECT_EQ(window.list().entryCount(), 0);
    const auto reports = dialogs.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(
        reports[0].text.contains(QStringLiteral("in Tessary2017/04/05.Form1.PushButton1_Click at line 108")))
        << reports[0].text.toStdString();
}

}  // namespace
