#include "tests/support/ScratchHome.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QSettings>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/ProgramExit.h"
#include "tests/support/RemoveTree.h"

namespace testsupport {

namespace {
// The process's scratch folder, and the one of the running test (the process's own "outside"
// folder between tests).
QString& processScratch() {
    static QString path;
    return path;
}
QString& currentScratch() {
    static QString path;
    return path;
}

void setEnv(const char* name, const QString& value) { ::setenv(name, value.toLocal8Bit().constData(), 1); }

QString envOr(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return QString::fromLocal8Bit(value != nullptr ? value : fallback);
}

bool keepScratch() { return !qEnvironmentVariableIsEmpty("MARROWDALE_KEEP_SCRATCH"); }

// Makes `folder` with home/ and tmp/ and points the per-test variables and the settings into it.
void pointHomeInto(const QString& folder) {
    const QString home = folder + QStringLiteral("/home");
    for (const char* sub : {"/home/Desktop", "/home/.config", "/home/.cache", "/home/.local/share", "/tmp"}) {
        QDir().mkpath(folder + QLatin1String(sub));
    }
    setEnv("HOME", home);
    setEnv("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    setEnv("XDG_CACHE_HOME", home + QStringLiteral("/.cache"));
    setEnv("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    setEnv("TEMP", folder + QStringLiteral("/tmp"));
    // QSettings keeps the configuration folder it saw first.
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, home + QStringLiteral("/.config"));
    }
    currentScratch() = folder;
}

// Removes the scratch folder once this process has ended, however it ends (killed, crashed, or
// left with _exit), from a process of its own outside this one's process tree. Engine hosts may
// still write into the folder for a moment after their client ended, so it is swept until it
// stays gone.
void sweepAfterTheEnd(const QString& folder) {
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0) return;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return;
    }
    if (child == 0) {
        if (::fork() != 0) ::_exit(0);  // the sweeper is handed to init, so ending our children spares it
        ::setsid();                     // and a signal to the test's process group too
        const int null = ::open("/dev/null", O_RDWR);
        for (const int fd : {0, 1, 2}) ::dup2(null, fd);  // ctest waits for every holder of its pipes
        ::close(channel[1]);
        char byte;
        for (;;) {  // nothing is ever written: the read ends when the last writer is gone
            const ssize_t got = ::read(channel[0], &byte, 1);
            if (got == 0 || (got < 0 && errno != EINTR)) break;
        }
        using namespace std::chrono;
        const auto deadline = steady_clock::now() + seconds(20);
        int goneInARow = 0;
        while (goneInARow < 5 && steady_clock::now() < deadline) {
            goneInARow = removeTree(folder) ? goneInARow + 1 : 0;
            std::this_thread::sleep_for(milliseconds(200));
        }
        ::_exit(0);
    }
    ::close(channel[0]);  // the write end stays open for as long as this process lives
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
}

class ScratchPerTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        QString folder = processScratch() + QStringLiteral("/test-XXXXXX");
        QByteArray templ = folder.toLocal8Bit();
        if (::mkdtemp(templ.data()) == nullptr) std::abort();
        pointHomeInto(QString::fromLocal8Bit(templ));
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        const QString finished = currentScratch();
        pointHomeInto(processScratch() + QStringLiteral("/outside-tests"));
        if (!keepScratch()) removeTree(finished);
    }
};
}  // namespace

void enterScratchHome() {
    if (!processScratch().isEmpty()) return;
    std::string templ = "/tmp/marrowdale-test-XXXXXX";
    if (::mkdtemp(templ.data()) == nullptr) std::abort();
    processScratch() = QString::fromLocal8Bit(templ.c_str());
    if (!keepScratch()) sweepAfterTheEnd(processScratch());
    QDir().mkpath(processScratch() + QStringLiteral("/tmp"));
    QDir().mkpath(processScratch() + QStringLiteral("/runtime"));
    ::chmod((processScratch() + QStringLiteral("/runtime")).toLocal8Bit().constData(), 0700);
    setEnv("XDG_RUNTIME_DIR", processScratch() + QStringLiteral("/runtime"));
    setEnv("TMPDIR", processScratch() + QStringLiteral("/tmp"));
    pointHomeInto(processScratch() + QStringLiteral("/outside-tests"));
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setEnv("QT_QPA_PLATFORM", QStringLiteral("offscreen"));
}

void giveEveryTestItsOwnScratch() {
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScratchPerTest);
}

void leaveScratchHome() {
    if (keepScratch()) return;
    // A host still running would write into the folder while it is removed.
    platform::endChildProcesses();
    removeTree(processScratch());
}

QString scratchHome() { return currentScratch(); }

QString scratchFolder(const QString& name) {
    const QString folder = scratchHome() + QLatin1Char('/') + name;
    QDir().mkpath(folder);
    return folder;
}

QString programDir() { return envOr("MARROWDALE_PROGRAM_DIR", MARROWDALE_BUILT_PROGRAM_DIR); }

QString sourceDir() { return envOr("MARROWDALE_SOURCE_DIR", MARROWDALE_BUILT_SOURCE_DIR); }

QString testDocsDir() {
    // shared/testdocs beside the source tree, or beside a folder above it (a worktree lives deeper).
    QDir dir(QDir::cleanPath(QDir(sourceDir()).absolutePath()));
    while (dir.cdUp()) {
        if (dir.exists(QStringLiteral("shared/testdocs")))
            return dir.filePath(QStringLiteral("shared/testdocs"));
    }
    // A clone on its own carries a copy of the same documents.
    return QDir::cleanPath(sourceDir() + QStringLiteral("/tests/data/testdocs"));
}

}  // namespace testsupport
