#include <gtest/gtest.h>

#include <QDir>
#include <QUrl>

#include "filelist/SampleFiles.h"
#include "platform/ProgramFolder.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "tests/filelist/TestListWindow.h"
#include "tests/support/FolderOrder.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/ScratchHome.h"
#include "tests/support/TestTree.h"

namespace {

const QString kQuestion = QStringLiteral(
    "Would you like this software to open the folder where these sample files are stored (so that you "
    "can view them before working with them)?");

class SampleFilesTest : public ::testing::Test {
  protected:
    testsupport::TestTree programFolder;
    testsupport::RecordingDialogs dialogs;
    testsupport::TestListWindow window;
    QList<QUrl> opened;
    const platform::services::Override<platform::ProgramFolderService> programFolderInUse{
        programFolder.root()};
    const platform::services::Override<platform::UrlOpenerService> recordingOpener{[this](const QUrl& url) {
        opened << url;
        return true;
    }};
};

TEST_F(SampleFilesTest, EveryClickAppendsEverySampleAndOffersTheFolder) {
    programFolder.file(QStringLiteral("Samples/one.docx"));
    programFolder.file(QStringLiteral("Samples/two.doc"));
    filelist::PushButton5_Click(window);
    QStringList once = window.list().entryTexts();
    once.sort();
    EXPECT_EQ(once, programFolder.paths({"Samples/one.docx", "Samples/two.doc"}));

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kQuestion);
    EXPECT_EQ(dialogs.shown[0].caption, platform::applicationTitle());
    EXPECT_EQ(dialogs.shown[0].buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(dialogs.shown[0].icon, platform::MessageIcon::None);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(QDir::cleanPath(opened[0].toLocalFile()), programFolder.root() + QStringLiteral("/Samples"));

    dialogs.messageAnswers.push_back(platform::MessageAnswer::No);
    filelist::PushButton5_Click(window);
    EXPECT_EQ(window.list().entryCount(), 4);
    EXPECT_EQ(opened.size(), 1);  // No opens nothing
}

TEST_F(SampleFilesTest, WithoutASamplesFolderTheQuestionStillComes) {
    dialogs.messageAnswers.push_back(platform::MessageAnswer::No);
    filelist::PushButton5_Click(window);
    EXPECT_EQ(window.list().entryCount(), 0);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{kQuestion});
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(SampleFilesTest, WithoutAnOpenerABoxSaysSoAndNamesTheFolder) {
    programFolder.file(QStringLiteral("Samples/one.docx"));
    const QString samples = programFolder.root() + QStringLiteral("/Samples");
    const platform::services::Override<platform::UrlOpenerService> failingOpener(
        [](const QUrl&) { return false; });
    filelist::PushButton5_Click(window);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].caption, platform::applicationTitle());
    EXPECT_TRUE(dialogs.shown[1].text.contains(QStringLiteral("could not be opened")));
    EXPECT_TRUE(dialogs.shown[1].text.endsWith(samples)) << dialogs.shown[1].text.toStdString();
    EXPECT_TRUE(dialogs.errorReports().empty());

    // The desktop's own handler, on a machine whose PATH holds no xdg-open.
    testsupport::TestTree emptyPath;
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", emptyPath.root().toLocal8Bit());
    const platform::services::Override<platform::UrlOpenerService> desktopOpener(
        platform::UrlOpenerService::byDefault());
    dialogs.shown.clear();
    filelist::PushButton5_Click(window);
    qputenv("PATH", savedPath);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_TRUE(dialogs.shown[1].text.endsWith(samples));
}

TEST(BuiltSamples, TheProgramFolderCarriesTheSampleDocuments) {
    const QStringList samples = QDir(testsupport::programDir() + QStringLiteral("/Samples"))
                                    .entryList({"*.doc", "*.docx"}, QDir::Files);
    EXPECT_GE(samples.filter(QStringLiteral(".docx")).size(), 2) << samples.join(' ').toStdString();
    EXPECT_GE(samples.filter(QRegularExpression(QStringLiteral("\\.doc$"))).size(), 1);
}

}  // namespace
