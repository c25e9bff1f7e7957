#include "platform/ChildProcess.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

// Runs in the child, which still shares our memory: system calls only, and none of our signal
// handlers may run in it, so every handled signal goes back to its default before signals flow.
[[noreturn]] void becomeProgram(const char* path, char* const* argv, const ChildSetup& setup, pid_t parent,
                                volatile int* execError) {
    ::prctl(PR_SET_PDEATHSIG, setup.deathSignal);
    if (::getppid() != parent) ::_exit(127);  // the parent died before the line above
    if (setup.standardInput >= 0) ::dup2(setup.standardInput, STDIN_FILENO);
    if (setup.standardOutput >= 0) ::dup2(setup.standardOutput, STDOUT_FILENO);
    if (setup.standardError >= 0) ::dup2(setup.standardError, STDERR_FILENO);
    if (setup.closeOtherDescriptors) ::close_range(3, ~0U, 0);
    for (int signal = 1; signal < NSIG; ++signal) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0) continue;
        if (signal == SIGPIPE || (current.sa_handler != SIG_IGN && current.sa_handler != SIG_DFL)) {
            struct sigaction byDefault {};
            byDefault.sa_handler = SIG_DFL;
            ::sigaction(signal, &byDefault, nullptr);
        }
    }
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execv(path, argv);
    *execError = errno;
    ::_exit(127);
}

}  // namespace

pid_t startChild(const char* path, char* const* argv, const ChildSetup& setup) {
    sigset_t all;
    sigset_t previous;
    ::sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &previous);
    volatile int execError = 0;
    const pid_t parent = ::getpid();
    const pid_t pid = ::vfork();
    if (pid == 0) becomeProgram(path, argv, setup, parent, &execError);
    const int startError = pid < 0 ? errno : 0;
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (pid < 0) return -startError;
    if (execError != 0) {  // the child has ended already: it wrote the error just before _exit
        ::waitpid(pid, nullptr, 0);
        return -execError;
    }
    return pid;
}

}  // namespace platform
