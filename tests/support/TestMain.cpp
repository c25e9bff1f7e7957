// The main() of every test program: a scratch home, then the application object, then the tests.
#include "platform/ProgramFolder.h"
#include "tests/support/ScratchHome.h"

#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testsupport::enterScratchHome();
    QApplication app(argc, argv);
    platform::setProgramFolder(testsupport::programDir());
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("MARROWDALE_KEEP_SCRATCH")) {
        QDir(testsupport::scratchHome()).removeRecursively();
    }
    return result;
}
