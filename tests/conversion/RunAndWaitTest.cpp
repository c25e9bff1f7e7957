#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include "conversion/Shell32.h"
#include "tests/support/Polling.h"
#include "tests/support/Processes.h"

using Shell32::RunAndWait;

namespace {

const QString kRecorder = QStringLiteral(ARGV_RECORDER_PATH);

QString quoted(const QString& text) { return u'"' + text + u'"'; }

QStringList recordedArguments(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList arguments;
    for (const QByteArray& argument : file.readAll().split('\0')) arguments << QString::fromUtf8(argument);
    arguments.removeLast();  // after the last NUL
    return arguments;
}

TEST(RunAndWait, WindowStyles) {
    EXPECT_EQ(RunAndWait(QStringLiteral("/bin/true")), 0);
    for (const auto& [given, kept] : {std::pair{-1, 6}, {7, 6}, {0, 0}, {3, 3}, {6, 6}}) {
        int style = given;
        EXPECT_EQ(RunAndWait(QStringLiteral("/bin/true"), &style), 0);
        EXPECT_EQ(style, kept) << "given " << given;
    }
}

TEST(RunAndWait, StartFailuresAreNegativeErrorNumbers) {
    QTemporaryDir dir;
    EXPECT_EQ(RunAndWait(QStringLiteral("\"/no/such/program\" -x")), -2147221451);
    EXPECT_EQ(RunAndWait(QStringLiteral("no-such-program-anywhere-on-path")), -2147221451);
    EXPECT_EQ(RunAndWait(quoted(dir.filePath(QStringLiteral("missing.exe")))), -2147221451);

    QFile plain(dir.filePath(QStringLiteral("not executable")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\nexit 0\n");
    plain.close();
    EXPECT_EQ(RunAndWait(quoted(plain.fileName())), -2147221504 + 70);
    EXPECT_EQ(RunAndWait(quoted(dir.path())), -2147221504 + 70);  // a folder
    EXPECT_EQ(RunAndWait(QString()), -2147221504 + 5);
}

// File names are text to the program: nothing in them is run by a shell.
TEST(RunAndWait, ArgumentsReachTheProgramAsText) {
    QTemporaryDir dir;
    const QString record = dir.filePath(QStringLiteral("args"));
    const QString marker = dir.filePath(QStringLiteral("executed"));
    const QStringList tricky = {QStringLiteral("a \"quoted\" name.jpg"),
                                QStringLiteral("$(touch %1)").arg(marker),
                                QStringLiteral("x; touch %1").arg(marker),
                                QStringLiteral("`touch %1`").arg(marker),
                                QStringLiteral("it's | & > <"),
                                QStringLiteral("trailing\\"),
                                QStringLiteral("")};
    // Quoted the way the run-time's rules read them back: backslashes before a quote are doubled.
    QString commandLine = quoted(kRecorder) + u' ' + quoted(record);
    for (QString argument : tricky) {
        argument.replace(QStringLiteral("\""), QStringLiteral("\\\""));
        if (argument.endsWith(u'\\')) argument += u'\\';
        commandLine += u' ' + quoted(argument);
    }
    EXPECT_EQ(RunAndWait(commandLine), 0);
    EXPECT_EQ(recordedArguments(record), tricky);
    EXPECT_FALSE(QFile::exists(marker));
}

TEST(RunAndWait, ReturnsTheExitCode) {
    EXPECT_EQ(RunAndWait(QStringLiteral("/bin/sh -c \"exit 3\"")), 3);
    EXPECT_EQ(RunAndWait(QStringLiteral("/bin/false")), 1);
    EXPECT_NE(RunAndWait(QStringLiteral("/bin/sh -c \"kill -SEGV $$\"")), 0);  // a crash
    // Much output does not block the program: it is discarded.
    EXPECT_EQ(RunAndWait(QStringLiteral("/bin/sh -c \"head -c 20000000 /dev/zero; echo done >&2\"")), 0);
}

TEST(RunAndWait, EventsRunWhileItWaits) {
    bool fired = false;
    QTimer::singleShot(50, [&fired] { fired = true; });
    EXPECT_EQ(RunAndWait(QStringLiteral("/bin/sleep 0.5")), 0);
    EXPECT_TRUE(fired);
}

// Polls `done` for up to ten seconds; a bound for a hung case, not a timing check.
template <typename Predicate>
bool eventually(Predicate done) {
    for (int i = 0; i < 200 && !done(); ++i) QThread::msleep(50);
    return done();
}

bool processIsGone(const QString& pid) { return testsupport::processEnded(pid.toInt()); }

// A converter must not outlive the program that waits for it.
TEST(RunAndWait, TheProgramDiesWithItsCaller) {
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("pid"));
    QProcess host;
    host.start(QStringLiteral(RUN_AND_WAIT_HOST_PATH),
               {QStringLiteral("/bin/sh -c \"echo $$ > '%1'; exec /bin/sleep 60\"").arg(pidFile)});
    QString pid;
    ASSERT_TRUE(eventually([&] {
        QFile file(pidFile);
        pid = file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).trimmed() : QString();
        return !pid.isEmpty();
    }));
    ASSERT_FALSE(processIsGone(pid));
    host.kill();
    host.waitForFinished();
    EXPECT_TRUE(eventually([&] { return processIsGone(pid); }));
}

}  // namespace

namespace {

// Ending a program asks it first, so a converter can remove the file it was writing.
TEST(EndProgram, AsksTheProgramToEndBeforeKillingIt) {
    QTemporaryDir dir;
    const QString asked = dir.filePath(QStringLiteral("asked"));
    const QString started = dir.filePath(QStringLiteral("started"));
    Shell32::RunningProgram program;
    ASSERT_EQ(Shell32::StartProgram(
                  QStringLiteral(
                      "/bin/sh -c \"trap 'touch %1; exit 0' TERM; touch %2; while :; do sleep 0.05; done\"")
                      .arg(asked, started),
                  program),
              0);
    ASSERT_TRUE(testsupport::waitUntil([&] { return QFile::exists(started); }, 10000));
    Shell32::EndProgram(program);
    EXPECT_FALSE(program.started());
    EXPECT_TRUE(QFile::exists(asked));

    Shell32::EndProgram(program);  // nothing left to end
}

}  // namespace
