// Every test runs in a scratch folder of its own, and no scratch folder outlives its test
// process, however that process ends.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cstdlib>

#include "tests/support/Polling.h"
#include "tests/support/ScratchHome.h"

namespace {

constexpr char kRecordVariable[] = "MARROWDALE_SCRATCH_RECORD";

// Run only as the child of the tests below: each notes its folders in the record file.
void noteScratch() {
    const QString record = qEnvironmentVariable(kRecordVariable);
    ASSERT_FALSE(record.isEmpty());
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    EXPECT_TRUE(QDir(desktop).isEmpty()) << "left by an earlier test";
    QFile(desktop + QStringLiteral("/note.txt")).open(QIODevice::WriteOnly);
    QFile out(record);
    ASSERT_TRUE(out.open(QIODevice::Append));
    out.write(
        (testsupport::scratchHome() + QLatin1Char('\n') + qEnvironmentVariable("TMPDIR") + QLatin1Char('\n'))
            .toLocal8Bit());
}

TEST(DISABLED_ScratchProbe, First) { noteScratch(); }
TEST(DISABLED_ScratchProbe, Second) {
    noteScratch();
    if (qEnvironmentVariableIsSet("MARROWDALE_SCRATCH_CRASH")) std::abort();
}

// Runs the probes in a test process of their own; answers the folders they noted.
QStringList runProbes(bool crash) {
    const QString record = testsupport::scratchHome() + QStringLiteral("/record.txt");
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kRecordVariable), record);
    if (crash) environment.insert(QStringLiteral("MARROWDALE_SCRATCH_CRASH"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=DISABLED_ScratchProbe.*")});
    EXPECT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, !crash)
        << child.readAllStandardOutput().toStdString();
    QFile in(record);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    return QString::fromLocal8Bit(in.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool allGone(const QStringList& folders) {
    for (const QString& folder : folders) {
        if (QFileInfo::exists(folder)) return false;
    }
    return true;
}

}  // namespace

TEST(ScratchHome, HomeSettingsAndTempPointIntoTheTestsOwnFolder) {
    const QString scratch = testsupport::scratchHome();
    ASSERT_FALSE(scratch.isEmpty());
    EXPECT_EQ(QDir::homePath(), scratch + QStringLiteral("/home"));
    EXPECT_EQ(qEnvironmentVariable("TEMP"), scratch + QStringLiteral("/tmp"));
    EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
              scratch + QStringLiteral("/home/.config"));
    EXPECT_TRUE(QDir::tempPath().startsWith(QFileInfo(scratch).path())) << "TMPDIR in the process's folder";
}

TEST(ScratchHome, EveryTestGetsAFreshFolderAndNoFolderOutlivesTheProcess) {
    const QStringList noted = runProbes(false);
    ASSERT_EQ(noted.size(), 4);
    EXPECT_NE(noted[0], noted[2]) << "one folder per test";
    EXPECT_EQ(noted[1], noted[3]) << "the temporary folder stays the process's";
    EXPECT_TRUE(testsupport::waitUntil([&] { return allGone(noted); }, 20000))
        << noted.join(u' ').toStdString();
}

TEST(ScratchHome, AProcessThatCrashedLeavesNoFolderEither) {
    const QStringList noted = runProbes(true);
    ASSERT_EQ(noted.size(), 4);
    EXPECT_TRUE(testsupport::waitUntil([&] { return allGone(noted); }, 20000))
        << noted.join(u' ').toStdString();
}
