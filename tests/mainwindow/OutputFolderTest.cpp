// The output folder box: every change is stored at once; the "..." button picks a folder.
#include <QTest>

#include "mainwindow/Form1.h"
#include "tests/mainwindow/WindowFixture.h"

namespace {

using mainwindow::Form1;

class OutputFolder : public testsupport::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        form = std::make_unique<Form1>();
        form->Form_Load();
        dialogs.shown.clear();
    }
    std::unique_ptr<Form1> form;
};

TEST_F(OutputFolder, EveryKeystrokeIsStored) {
    form->Text1->clear();
    EXPECT_EQ(storedText1(), QString());  // an empty text is stored as empty
    QTest::keyClicks(form->Text1, QStringLiteral("/data/o"));
    EXPECT_EQ(storedText1(), QStringLiteral("/data/o"));
    QTest::keyClick(form->Text1, Qt::Key_Backspace);
    EXPECT_EQ(storedText1(), QStringLiteral("/data/"));
    EXPECT_EQ(form->outputFolderText(), QStringLiteral("/data/"));
}

TEST_F(OutputFolder, CancellingThePickerChangesNothing) {
    dialogs.folderAnswers = {QString()};
    form->PushButton6->click();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, QStringLiteral("folder"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Please select folder:"));
    EXPECT_EQ(form->Text1->text(), desktopFolder());
    EXPECT_EQ(storedText1(), desktopFolder());
}

TEST_F(OutputFolder, APickedFolderGetsItsSlash) {
    dialogs.folderAnswers = {QStringLiteral("/data/out"), QStringLiteral("/"),
                             QStringLiteral("/data/ready/")};
    form->PushButton6->click();
    EXPECT_EQ(form->Text1->text(), QStringLiteral("/data/out/"));
    EXPECT_EQ(storedText1(), QStringLiteral("/data/out/"));
    form->PushButton6->click();  // the root keeps its own
    EXPECT_EQ(form->Text1->text(), QStringLiteral("/"));
    EXPECT_EQ(storedText1(), QStringLiteral("/"));
    form->PushButton6->click();
    EXPECT_EQ(form->Text1->text(), QStringLiteral("/data/ready/"));
    EXPECT_TRUE(dialogs.errorReports().empty());
}

}  // namespace
