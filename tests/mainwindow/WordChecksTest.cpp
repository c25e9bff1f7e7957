#include "conversion/IsInstalled.h"
#include "conversion/Word1.h"
#include "platform/ProgramFolder.h"
#include "tests/mainwindow/StubWord.h"
#include "tests/support/RecordingDialogs.h"

#include <gtest/gtest.h>

namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

const QString kNotInstalled = QStringLiteral(
    "Word is not installed on this computer. You need to have it installed to use this software without error.");
const QString kMayBeOpen = QStringLiteral(
    "Word may be open. It is recommended that you close Word first. Use Ctrl+Alt+Del > Task Manager > WINWORD.EXE "
    "if necessary.\r\n\r\nWould you like to proceed anyway?");

class WordChecks : public ::testing::Test {
protected:
    void SetUp() override { platform::setApplicationTitle(QStringLiteral("Short Title")); }
    void TearDown() override { platform::setApplicationTitle(QStringLiteral("Marrowdale")); }
    testsupport::RecordingDialogs dialogs;
    testsupport::StubWordFactory word;
};

TEST_F(WordChecks, NoEngineIsReportedOnceInAPlainBox) {
    IsInstalled::IsWordInstalled();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kNotInstalled);
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Short Title"));
    EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::None);
}

TEST_F(WordChecks, AStartableEngineIsQuitAgainSilently) {
    word.canCreate = true;
    IsInstalled::IsWordInstalled();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(word.created, 1);
    EXPECT_EQ(word.quits, 1);
    word.quitFails = true;  // a failed quit is ignored too
    IsInstalled::IsWordInstalled();
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WordChecks, RunningMeansAttachedAndNamedMicrosoftWord) {
    EXPECT_FALSE(Word1::IsWordRunning());
    word.runningName = QStringLiteral("Microsoft Word");
    EXPECT_TRUE(Word1::IsWordRunning());
    word.runningName = QStringLiteral("Microsoft Word ");  // exact comparison
    EXPECT_FALSE(Word1::IsWordRunning());
    word.runningName = QStringLiteral("Microsoft Word");
    word.nameFails = true;
    EXPECT_FALSE(Word1::IsWordRunning());
    EXPECT_EQ(word.quits, 0);  // the user's engine is never closed
    EXPECT_EQ(word.created, 0);
}

TEST_F(WordChecks, NothingRunningAsksNothing) {
    EXPECT_FALSE(Word1::ConfirmWordNotRunning(nullptr));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WordChecks, ARunningEngineAsksAndNoStopsTheRun) {
    word.runningName = QStringLiteral("Microsoft Word");
    dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::No};
    EXPECT_FALSE(Word1::ConfirmWordNotRunning(nullptr));  // Yes: go ahead
    EXPECT_TRUE(Word1::ConfirmWordNotRunning(nullptr));   // No: do not start
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text, kMayBeOpen);
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Short Title"));
    EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(word.quits, 0);
}

}  // namespace
