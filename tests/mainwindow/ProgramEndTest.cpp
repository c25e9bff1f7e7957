// Closing the window ends the program at once, from inside nested event loops, and leaves none of
// the processes it started behind (engine hosts, converter runs, and what they started).
#include <signal.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <cstdlib>

#include "mainwindow/Form1.h"
#include "platform/EventLoop.h"
#include "platform/ProgramExit.h"
#include "tests/mainwindow/WindowFixture.h"
#include "tests/support/Polling.h"
#include "tests/support/Processes.h"

namespace {

using mainwindow::Form1;

const char* const kPidFileVariable = "MARROWDALE_TEST_PID_FILE";

// Alive means neither gone nor a zombie waiting to be collected by whoever inherited it.
bool alive(qint64 pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 && !testsupport::processEnded(static_cast<int>(pid));
}

bool goneSoon(qint64 pid) {
    return testsupport::waitUntil([pid] { return !alive(pid); }, 30000);
}

// Runs in the child process of the death test: a window in the middle of a "run" that yields
// inside a nested event loop, with a child and a grandchild process, when the window is closed.
[[noreturn]] void closeInTheMiddleOfARun(const QString& pidFile) {
    testsupport::RecordingDialogs dialogs;
    testsupport::FakeWord word;
    word.createFails = true;
    // This process's own scratch folder would otherwise stay behind.
    platform::addProgramEndAction([] { QDir(testsupport::scratchHome()).removeRecursively(); });
    Form1 form;
    form.Form_Load();
    form.show();
    QProcess child;
    child.start(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("sleep 300 & echo $! > '%1.grandchild'; wait").arg(pidFile)});
    child.waitForStarted();
    if (!testsupport::waitUntil([&] { return QFile::exists(pidFile + QStringLiteral(".grandchild")); },
                                10000))
        std::_Exit(3);  // the shell never started its child: fail, do not hang
    QFile out(pidFile);
    out.open(QIODevice::WriteOnly);
    out.write(QByteArray::number(child.processId()));
    out.close();
    QTimer::singleShot(0, &form, [&form] {
        QEventLoop box;  // as a modal box would run one
        QTimer::singleShot(0, &form, &QWidget::close);
        box.exec();
    });
    // Closing must end the process from inside this loop; a close that does not fails the test.
    QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) platform::yieldToEventLoop();
    std::_Exit(4);
}

TEST(ProgramEnd, ClosingEndsTheProgramAndItsChildProcesses) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The death test runs this body again in a new process: the file named here is the parent's.
    if (qEnvironmentVariableIsEmpty(kPidFileVariable)) {
        qputenv(kPidFileVariable, (testsupport::scratchHome() + QStringLiteral("/child.pid")).toLocal8Bit());
    }
    const QString pidFile = QString::fromLocal8Bit(qgetenv(kPidFileVariable));
    EXPECT_EXIT(closeInTheMiddleOfARun(pidFile), ::testing::ExitedWithCode(0), "");
    QFile childPid(pidFile);
    QFile grandchildPid(pidFile + QStringLiteral(".grandchild"));
    ASSERT_TRUE(childPid.open(QIODevice::ReadOnly));
    ASSERT_TRUE(grandchildPid.open(QIODevice::ReadOnly));
    const qint64 child = childPid.readAll().trimmed().toLongLong();
    const qint64 grandchild = grandchildPid.readAll().trimmed().toLongLong();
    ASSERT_GT(child, 0);
    ASSERT_GT(grandchild, 0);
    EXPECT_TRUE(goneSoon(child));
    EXPECT_TRUE(goneSoon(grandchild));
}

}  // namespace
