#include "conversion/Shell32.h"
#include "platform/AppError.h"
#include "platform/ChildProcess.h"
#include "platform/EventLoop.h"

#include <QFile>
#include <QStandardPaths>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace Shell32 {

namespace {

constexpr int kDefaultWindowStyle = 6;  // minimized without focus
constexpr int kPollMilliseconds = 100;

long errorNumberOf(int error) {
    using namespace platform::ErrorNumber;
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return FileNotFound;
        case EACCES:
        case EPERM:
            return PermissionDenied;
        default:
            return InvalidProcedureCall;
    }
}

// A bare name is looked up on PATH here, because execvp would hand a non-program to /bin/sh.
QString resolveProgram(const QString& program) {
    if (program.contains(u'/')) return program;
    return QStandardPaths::findExecutable(program);
}

// Starts the program; answers 0 and its process id, or the errno of the failed start.
int startProgram(const QStringList& arguments, pid_t* pid) {
    const QString program = resolveProgram(arguments.first());
    if (program.isEmpty()) return ENOENT;

    std::vector<QByteArray> encoded;
    encoded.reserve(arguments.size());
    encoded.push_back(QFile::encodeName(program));
    for (qsizetype i = 1; i < arguments.size(); ++i) encoded.push_back(QFile::encodeName(arguments[i]));
    std::vector<char*> argv;
    argv.push_back(encoded.front().data());  // the name the program sees
    for (std::size_t i = 1; i < encoded.size(); ++i) argv.push_back(encoded[i].data());
    argv.push_back(nullptr);

    const int nullDevice = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (nullDevice < 0) return errno;
    platform::ChildSetup setup;
    setup.standardInput = setup.standardOutput = setup.standardError = nullDevice;
    const pid_t child = platform::startChild(encoded.front().constData(), argv.data(), setup);
    ::close(nullDevice);
    if (child < 0) return -child;
    *pid = child;
    return 0;
}

std::int32_t exitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 0;
}

// Returns as soon as the process has ended: a process descriptor wakes the poll at its end.
// Without one (old kernels) the poll is a plain 100 ms sleep.
std::int32_t waitForExit(pid_t pid) {
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    std::int32_t exitCode = 0;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            exitCode = exitCodeOf(status);
            break;
        }
        if (done < 0 && errno != EINTR) break;  // reaped elsewhere: nothing left to wait for
        platform::yieldToEventLoop();
        struct pollfd end {pidfd, POLLIN, 0};
        ::poll(&end, pidfd >= 0 ? 1 : 0, kPollMilliseconds);
    }
    if (pidfd >= 0) ::close(pidfd);
    return exitCode;
}

}  // namespace

std::int32_t RunAndWait(const QString& commandLine, int* windowStyle) {
    if (windowStyle != nullptr && (*windowStyle < 0 || *windowStyle > 6)) *windowStyle = kDefaultWindowStyle;
    // The style is kept for the caller; a Linux program has no console window to show or hide.

    const QStringList arguments = SplitCommandLine(commandLine);
    if (arguments.isEmpty() || arguments.first().isEmpty()) {
        return kStartFailureBase + static_cast<std::int32_t>(platform::ErrorNumber::InvalidProcedureCall);
    }
    pid_t pid = 0;
    const int error = startProgram(arguments, &pid);
    if (error != 0) return kStartFailureBase + static_cast<std::int32_t>(errorNumberOf(error));
    return waitForExit(pid);
}

}  // namespace Shell32
