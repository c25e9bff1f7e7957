#include <QDir>
#include <QHeaderView>
#include <QTemporaryDir>
#include <cstdlib>

#include "mainwindow/ApplicationTitle.h"
#include "mainwindow/Form1.h"
#include "platform/ProgramFolder.h"
#include "platform/Services.h"
#include "platform/Settings.h"
#include "tests/mainwindow/WindowFixture.h"

namespace {

using mainwindow::ApplicationTitleOf;
using mainwindow::Form1;

const QString kNotInstalled = QStringLiteral(
    "Word is not installed on this computer. You need to have it installed to use this software without "
    "error.");
const QString kLocation = QStringLiteral("in Tessary2017/04/05.Form1.Form_Load ");

TEST(ApplicationTitle, DropsTheLastWord) {
    EXPECT_EQ(ApplicationTitleOf(QStringLiteral("Hollenwick Word To PCX Converter")),
              QStringLiteral("Hollenwick Word To PCX"));
    EXPECT_EQ(ApplicationTitleOf(QStringLiteral("Two Words")), QStringLiteral("Two"));
}

TEST(ApplicationTitle, CutsAgainWhileLongerThanForty) {
    // 55 characters: 49 after the first cut, 43 after the second, 38 after the third.
    const QString name = QStringLiteral("Alpha Bravo Charlie Delta Echo Foxtrot Golf Hotel India");
    EXPECT_EQ(ApplicationTitleOf(name), QStringLiteral("Alpha Bravo Charlie Delta Echo Foxtrot"));
    const QString exactly40 = QStringLiteral("0123456789 0123456789 0123456789 0123456");  // 40 after the cut
    EXPECT_EQ(ApplicationTitleOf(exactly40 + QStringLiteral(" tail")), exactly40);
}

TEST(ApplicationTitle, ANameWithoutBlankIsItsOwnTitle) {
    EXPECT_EQ(ApplicationTitleOf(QStringLiteral("Marrowdale")), QStringLiteral("Marrowdale"));
    const QString longWord(50, QLatin1Char('x'));
    EXPECT_EQ(ApplicationTitleOf(longWord), longWord);
    EXPECT_EQ(ApplicationTitleOf(QStringLiteral("x") + longWord + QStringLiteral(" y")),
              QStringLiteral("x") + longWord);
}

using FormLoad = testsupport::WindowTest;

TEST_F(FormLoad, AFreshStartShowsTheDesktopFolderAndStoresIt) {
    Form1 form;
    form.Form_Load();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Marrowdale"));
    EXPECT_EQ(platform::applicationTitle(), QStringLiteral("Marrowdale"));
    EXPECT_FALSE(form.windowIcon().isNull());
    EXPECT_EQ(form.ListView1->headerItem()->text(0), QStringLiteral(" Word File(s)"));
    EXPECT_EQ(form.ListView1->columnCount(), 1);
    EXPECT_EQ(form.ListView1->header()->sectionSize(0), 467);
    EXPECT_EQ(form.ListView1->entryCount(), 0);
    EXPECT_TRUE(form.hasCustomPointer());
    EXPECT_EQ(form.Text1->text(), desktopFolder());
    EXPECT_EQ(storedText1(), desktopFolder());
    EXPECT_EQ(dialogs.messageTexts(), QStringList{kNotInstalled});  // the engine check, and nothing else
    EXPECT_TRUE(opened.empty());
}

TEST_F(FormLoad, ASecondStartShowsTheStoredText) {
    platform::storeOutputFolder(QStringLiteral("/srv/pages/"));
    Form1 form;
    form.Form_Load();
    EXPECT_EQ(form.Text1->text(), QStringLiteral("/srv/pages/"));
    EXPECT_EQ(storedText1(), QStringLiteral("/srv/pages/"));
}

TEST_F(FormLoad, AStartableEngineGivesNoMessage) {
    word.createFails = false;
    Form1 form;
    form.Form_Load();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(word.calls, (QStringList{"create", "quit"}));
}

TEST_F(FormLoad, NoDesktopFolderIsReportedAtStep132AndLeavesTheBoxEmpty) {
    platform::storeOutputFolder(QStringLiteral("/srv/pages/"));
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QByteArray("/nonexistent/marrowdale-home"));
    Form1 form;
    form.Form_Load();
    qputenv("HOME", home);
    EXPECT_TRUE(form.Text1->text().isEmpty());
    EXPECT_EQ(storedText1(), QStringLiteral("/srv/pages/"));  // nothing was set, so nothing stored
    const auto reports = dialogs.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.startsWith(QStringLiteral("Invalid procedure call or argument\r\n") +
                                           kLocation + QStringLiteral("at line 132\r\r")));
    EXPECT_EQ(dialogs.messageTexts().last(), kNotInstalled);  // the last step still ran
}

TEST_F(FormLoad, OneStartInAHundredOpensTheHomePage) {
    draw = 0.065;  // the seventh of a hundred
    {
        Form1 form;
        form.Form_Load();
    }
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://hollenwick.example/")));
    for (const double other : {0.0, 0.059, 0.07, 0.999}) {
        draw = other;
        Form1 form;
        form.Form_Load();
    }
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(FormLoad, AHomePageThatCannotBeOpenedIsReportedAtStep110) {
    draw = 0.06;
    openerWorks = false;
    Form1 form;
    form.Form_Load();
    const auto reports = dialogs.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.contains(kLocation + QStringLiteral("at line 110\r\r")));
    EXPECT_EQ(form.ListView1->headerItem()->text(0), QStringLiteral(" Word File(s)"));  // the load went on
}

TEST_F(FormLoad, WithoutSkinOrPointerFilesTheDesignedLookStays) {
    QTemporaryDir emptyProgramFolder;
    const platform::services::Override<platform::ProgramFolderService> programFolderInUse(
        emptyProgramFolder.path());
    Form1 form;
    form.Form_Load();
    EXPECT_TRUE(form.styleSheet().isEmpty());
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(form.Frame2->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_FALSE(form.hasCustomPointer());
    EXPECT_TRUE(dialogs.errorReports().empty());
}

TEST_F(FormLoad, TheSkinFileSwitchesTheSkinOn) {
    Form1 form;
    form.Form_Load();
    EXPECT_FALSE(form.styleSheet().isEmpty());
    EXPECT_NE(form.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(form.Frame2->palette().color(QPalette::Window), form.palette().color(QPalette::Window));
    EXPECT_TRUE(dialogs.errorReports().empty());
}

TEST_F(FormLoad, AnUnreadablePointerFileIsReportedAtStep108) {
    QTemporaryDir programFolder;
    QFile broken(programFolder.filePath(QStringLiteral("HAND-M.CUR")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a cursor");
    broken.close();
    const platform::services::Override<platform::ProgramFolderService> programFolderInUse(
        programFolder.path());
    Form1 form;
    form.Form_Load();
    const auto reports = dialogs.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.startsWith(QStringLiteral("Invalid picture\r\n") + kLocation +
                                           QStringLiteral("at line 108\r\r")));
    EXPECT_FALSE(form.hasCustomPointer());
}

}  // namespace
