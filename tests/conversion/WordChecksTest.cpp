#include <gtest/gtest.h>

#include "conversion/IsInstalled.h"
#include "conversion/Word1.h"
#include "platform/ProgramFolder.h"
#include "platform/Services.h"
#include "tests/support/FakeWord.h"
#include "tests/support/RecordingDialogs.h"

namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

const QString kNotInstalled = QStringLiteral(
    "Word is not installed on this computer. You need to have it installed to use this software without "
    "error.");
const QString kMayBeOpen = QStringLiteral(
    "Word may be open. It is recommended that you close Word first. Use Ctrl+Alt+Del > Task Manager > "
    "WINWORD.EXE "
    "if necessary.\r\n\r\nWould you like to proceed anyway?");

class WordChecks : public ::testing::Test {
  protected:
    const platform::services::Override<platform::ApplicationTitleService> shortTitle{
        QStringLiteral("Short Title")};
    testsupport::RecordingDialogs dialogs;
    testsupport::FakeWord word;
};

TEST_F(WordChecks, NoEngineIsReportedOnceInAPlainBox) {
    word.createFails = true;
    IsInstalled::IsWordInstalled();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kNotInstalled);
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Short Title"));
    EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::None);
}

TEST_F(WordChecks, AStartableEngineIsQuitAndReleasedSilently) {
    IsInstalled::IsWordInstalled();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(word.calls, (QStringList{"create", "quit"}));
    EXPECT_EQ(word.liveObjects(), 0);
    word.failCall(QStringLiteral("quit"));  // a failed quit is ignored too
    IsInstalled::IsWordInstalled();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(word.liveObjects(), 0);
}

TEST_F(WordChecks, RunningMeansAttachedAndNamedMicrosoftWord) {
    EXPECT_FALSE(Word1::IsWordRunning());
    word.running = true;
    EXPECT_TRUE(Word1::IsWordRunning());
    word.applicationName = QStringLiteral("Microsoft Word ");  // compared exactly
    EXPECT_FALSE(Word1::IsWordRunning());
    word.applicationName = wordclient::kWordName;
    word.failCall(QStringLiteral("name"));
    EXPECT_FALSE(Word1::IsWordRunning());
    // The user's engine is attached, asked its name and let go: never created, never quit.
    EXPECT_EQ(word.count(QStringLiteral("create")), 0);
    EXPECT_EQ(word.count(QStringLiteral("quit")), 0);
    EXPECT_EQ(word.liveObjects(), 0);
}

TEST_F(WordChecks, NothingRunningAsksNothing) {
    EXPECT_FALSE(Word1::ConfirmWordNotRunning(nullptr));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WordChecks, ARunningEngineAsksAndNoStopsTheRun) {
    word.running = true;
    dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::No};
    EXPECT_FALSE(Word1::ConfirmWordNotRunning(nullptr));  // Yes: go ahead
    EXPECT_TRUE(Word1::ConfirmWordNotRunning(nullptr));   // No: do not start
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text, kMayBeOpen);
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Short Title"));
    EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(word.count(QStringLiteral("quit")), 0);
}

}  // namespace
