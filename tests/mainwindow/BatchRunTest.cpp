#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "mainwindow/BatchRun.h"
#include "mainwindow/Form1.h"
#include "platform/Services.h"
#include "tests/support/FakeWord.h"
#include "tests/support/RecordingDialogs.h"

using platform::MessageAnswer;

namespace {

const QString kLocation = QStringLiteral("in Tessary2017/04/05.Form1.PushButton2_Click ");

// Records every document the run hands over, with what the window showed at that moment.
struct Handed {
    QString path;
    int progressValue;
    QString progressText;
    int pointer;
};

class BatchRunTest : public ::testing::Test {
  protected:
    void SetUp() override { form.Text1->setText(out.path() + QLatin1Char('/')); }

    void addEntries(int count) {
        for (int i = 1; i <= count; ++i)
            form.ListView1->appendEntry(QStringLiteral("/docs/doc%1.docx").arg(i));
    }

    testsupport::RecordingDialogs dialogs;
    testsupport::FakeWord word;
    QTemporaryDir out;
    mainwindow::Form1 form;
    std::vector<Handed> handed;
    std::function<void()> duringConversion;
    const platform::services::Override<mainwindow::DocumentConverterService> recordingConverter{
        [this](Word1::ConversionWindow&, const QString& path, const QString&) {
            handed.push_back(
                {path, form.ProgressBar1->value(), form.ProgressBar1->text(), form.mousePointer()});
            if (duringConversion) duringConversion();
        }};
};

TEST_F(BatchRunTest, TheListIsCheckedFirstThenTheFolder) {
    form.Text1->setText(QStringLiteral("/no/such/folder/"));
    form.PushButton2_Click();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"No files added."});
    EXPECT_EQ(dialogs.shown.back().caption, QStringLiteral("Marrowdale"));

    addEntries(1);
    for (const QString& folder :
         {QString(), QStringLiteral("/no/such/folder/"), out.path() + QStringLiteral("/f")}) {
        dialogs.shown.clear();
        form.Text1->setText(folder);
        form.PushButton2_Click();
        EXPECT_EQ(dialogs.messageTexts(),
                  QStringList{"Folder does not exist. Please select another folder."});
    }
    EXPECT_TRUE(handed.empty());
    EXPECT_EQ(form.ProgressBar1->text(), QStringLiteral("Progress Bar"));
    EXPECT_EQ(form.mousePointer(), 0);
}

TEST_F(BatchRunTest, ARunningEngineAsksAndNoCancelsSilently) {
    addEntries(2);
    word.running = true;
    dialogs.messageAnswers = {MessageAnswer::No};
    form.PushButton2_Click();
    ASSERT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_TRUE(dialogs.messageTexts()[0].startsWith(QStringLiteral("Word may be open.")));
    EXPECT_TRUE(handed.empty());

    dialogs.shown.clear();
    dialogs.messageAnswers = {MessageAnswer::Yes};
    form.PushButton2_Click();
    EXPECT_EQ(handed.size(), 2u);
    EXPECT_EQ(dialogs.messageTexts().back(), QStringLiteral("Done."));
}

TEST_F(BatchRunTest, ProgressCountsDocumentsStartedAndRestsAfterwards) {
    addEntries(4);
    form.ListView1->setEntryText(4, QStringLiteral("plain-name.docx"));
    form.PushButton2_Click();
    ASSERT_EQ(handed.size(), 4u);
    const int expected[] = {25, 50, 75, 100};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(handed[i].progressValue, expected[i]);
        EXPECT_EQ(handed[i].pointer, 11);
    }
    EXPECT_EQ(handed[0].progressText, QStringLiteral("Processing: doc1.docx"));
    EXPECT_EQ(handed[3].progressText, QStringLiteral("Processing: plain-name.docx"));
    EXPECT_EQ(form.ProgressBar1->value(), 0);
    EXPECT_EQ(form.ProgressBar1->text(), QStringLiteral("Progress Bar"));
    EXPECT_EQ(form.mousePointer(), 0);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Done."});
    EXPECT_EQ(form.ListView1->entryCount(), 4);  // the run leaves the list as it was
}

TEST_F(BatchRunTest, ASecondPressDuringARunDoesNothing) {
    addEntries(3);
    duringConversion = [this] { form.PushButton2->click(); };
    form.PushButton2_Click();
    EXPECT_EQ(handed.size(), 3u);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Done."});
}

TEST_F(BatchRunTest, TheRunIsBusyFromThePressSoADoubleClickRunsOnce) {
    addEntries(2);
    // The second click of a double-click waits in the queue until the yield of step 100.
    QMetaObject::invokeMethod(form.PushButton2, &QPushButton::click, Qt::QueuedConnection);
    form.PushButton2_Click();
    EXPECT_EQ(handed.size(), 2u);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Done."});
    EXPECT_EQ(form.mousePointer(), 0);
}

TEST_F(BatchRunTest, ARunThatEndsAtACheckPutsBackThePointerItFound) {
    form.setMousePointer(99);  // pressed with the hand over the button
    form.PushButton2_Click();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"No files added."});
    EXPECT_EQ(form.mousePointer(), 99);
}

TEST_F(BatchRunTest, TheFolderAdderDuringARunLeavesItBusy) {
    addEntries(2);
    QTemporaryDir folder;
    int pointerAfterAdder = -1;
    duringConversion = [&] {
        if (handed.size() != 1) return;
        dialogs.folderAnswers.push_back(folder.path());
        form.PushButton4->click();
        pointerAfterAdder = form.mousePointer();
        form.PushButton2->click();  // still busy: does nothing
    };
    form.PushButton2_Click();
    EXPECT_EQ(pointerAfterAdder, 11);
    EXPECT_EQ(handed.size(), 2u);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Done."});
}

TEST_F(BatchRunTest, AnEntryGoneDuringTheRunIsReportedAndSkipped) {
    addEntries(3);
    duringConversion = [this] {
        if (handed.size() == 1) form.PushButton3->click();  // "Clear List"
    };
    form.PushButton2_Click();
    ASSERT_EQ(handed.size(), 1u);  // the first document is never converted a second time
    const auto reports = dialogs.errorReports();
    ASSERT_FALSE(reports.empty());
    for (const auto& report : reports)
        EXPECT_TRUE(report.text.contains(kLocation + QStringLiteral("at line 1")));
    EXPECT_TRUE(reports.back().text.contains(QStringLiteral("at line 116")));
    EXPECT_EQ(dialogs.messageTexts().back(), QStringLiteral("Done."));
}

TEST_F(BatchRunTest, AListLongerThanASixteenBitCounterIsConvertedWhole) {
    for (int i = 0; i < 33000; ++i) form.ListView1->appendEntry(QStringLiteral("/d/%1.doc").arg(i));
    form.PushButton2_Click();
    EXPECT_EQ(handed.size(), 33000u);
    EXPECT_EQ(handed.back().path, QStringLiteral("/d/32999.doc"));
    EXPECT_TRUE(dialogs.errorReports().empty());
}

TEST_F(BatchRunTest, AFailingDocumentDoesNotEndTheRun) {
    addEntries(3);
    const platform::services::Override<mainwindow::DocumentConverterService> failingSecond(
        [this](Word1::ConversionWindow&, const QString& path, const QString&) {
            handed.push_back({path, 0, QString(), 0});
            if (handed.size() == 2) throw platform::AppError(platform::ErrorNumber::FileNotFound);
        });
    form.PushButton2_Click();
    EXPECT_EQ(handed.size(), 3u);
    ASSERT_EQ(dialogs.errorReports().size(), 1u);
    EXPECT_TRUE(dialogs.errorReports()[0].text.contains(kLocation + QStringLiteral("at line 122")));
    EXPECT_EQ(dialogs.messageTexts().back(), QStringLiteral("Done."));
}

}  // namespace
