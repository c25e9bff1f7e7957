#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QStandardPaths>
#include <cerrno>
#include <csignal>
#include <utility>
#include <vector>

#include "conversion/Shell32.h"
#include "platform/AppError.h"
#include "platform/ChildProcess.h"
#include "platform/ErrnoNumber.h"
#include "platform/EventLoop.h"

namespace Shell32 {

namespace {

constexpr int kDefaultWindowStyle = 6;  // minimized without focus
constexpr int kPollMilliseconds = 100;
constexpr int kEndWaitMilliseconds = 2000;  // a converter removes its unfinished file at once
constexpr int kEndPollMilliseconds = 5;

long errorNumberOf(int error) {
    using namespace platform::ErrorNumber;
    // A program named by the command line: one that cannot be found is 53 "File not found".
    if (error == ENAMETOOLONG || error == ELOOP) return FileNotFound;
    return platform::errorNumberFromErrno(error, FileNotFound, InvalidProcedureCall);
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

// Returns as soon as the process has ended: its process descriptor wakes the poll at its end, and
// the event loop gets a turn at least every 100 ms. Without a descriptor (old kernels) the poll
// is a plain 100 ms sleep.
std::int32_t waitForExit(pid_t pid, int pidfd) {
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) return exitCodeOf(status);
        if (done < 0 && errno != EINTR) return 0;  // reaped elsewhere: nothing left to wait for
        platform::yieldToEventLoop();
        struct pollfd end {
            pidfd, POLLIN, 0
        };
        ::poll(&end, pidfd >= 0 ? 1 : 0, kPollMilliseconds);
    }
}

}  // namespace

RunningProgram::~RunningProgram() { reset(); }

RunningProgram::RunningProgram(RunningProgram&& other) noexcept : pid_(other.pid_), pidfd_(other.pidfd_) {
    other.pid_ = other.pidfd_ = -1;
}

RunningProgram& RunningProgram::operator=(RunningProgram&& other) noexcept {
    if (this != &other) {
        reset();
        std::swap(pid_, other.pid_);
        std::swap(pidfd_, other.pidfd_);
    }
    return *this;
}

void RunningProgram::reset() {
    if (pid_ > 0) {
        // Abandoned while running: nothing may keep writing after its caller has gone.
        ::kill(pid_, SIGKILL);
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
    }
    if (pidfd_ >= 0) ::close(pidfd_);
    pid_ = pidfd_ = -1;
}

std::int32_t StartProgram(const QString& commandLine, RunningProgram& program) {
    program.reset();
    const QStringList arguments = SplitCommandLine(commandLine);
    if (arguments.isEmpty() || arguments.first().isEmpty()) {
        return kStartFailureBase + static_cast<std::int32_t>(platform::ErrorNumber::InvalidProcedureCall);
    }
    pid_t pid = 0;
    const int error = startProgram(arguments, &pid);
    if (error != 0) return kStartFailureBase + static_cast<std::int32_t>(errorNumberOf(error));
    program.pid_ = pid;
    program.pidfd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    return 0;
}

std::int32_t WaitForProgram(RunningProgram& program) {
    if (program.pid_ <= 0) return 0;
    const std::int32_t exitCode = waitForExit(program.pid_, program.pidfd_);
    program.pid_ = -1;  // reaped
    program.reset();
    return exitCode;
}

void EndProgram(RunningProgram& program) {
    if (program.pid_ > 0 && ::kill(program.pid_, SIGTERM) == 0) {
        for (int wait = 0; wait < kEndWaitMilliseconds / kEndPollMilliseconds; ++wait) {
            int status = 0;
            const pid_t done = ::waitpid(program.pid_, &status, WNOHANG);
            if (done == program.pid_ || (done < 0 && errno != EINTR)) {
                program.pid_ = -1;  // reaped, or reaped elsewhere
                break;
            }
            ::usleep(kEndPollMilliseconds * 1000);
        }
    }
    program.reset();  // kills and reaps what is still running
}

std::int32_t RunAndWait(const QString& commandLine, int* windowStyle) {
    if (windowStyle != nullptr && (*windowStyle < 0 || *windowStyle > 6)) *windowStyle = kDefaultWindowStyle;
    // The style is kept for the caller; a Linux program has no console window to show or hide.
    RunningProgram program;
    const std::int32_t started = StartProgram(commandLine, program);
    if (started != 0) return started;
    return WaitForProgram(program);
}

}  // namespace Shell32
