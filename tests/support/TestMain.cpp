// The main() of every test program: a scratch home, then the application object, then the tests,
// each in a scratch folder of its own.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/ProgramFolder.h"
#include "platform/QtDialogs.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "tests/support/ScratchHome.h"

int main(int argc, char** argv) {
    testsupport::enterScratchHome();
    QApplication app(argc, argv);
    // The real boxes, as in the program; tests answer them with RecordingDialogs.
    platform::QtDialogs qtDialogs;
    const platform::services::Override<platform::Dialogs> boxes(&qtDialogs);
    const platform::services::Override<platform::ProgramFolderService> builtProgramFolder(
        testsupport::programDir());
    // No test opens a browser or a file manager: tests that care put their own opener in place.
    const platform::services::Override<platform::UrlOpenerService> noBrowser(
        [](const QUrl&) { return true; });
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::giveEveryTestItsOwnScratch();
    const int result = RUN_ALL_TESTS();
    testsupport::leaveScratchHome();
    return result;
}
