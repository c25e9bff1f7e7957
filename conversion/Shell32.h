#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace Shell32 {

// Added to the error number of a failed start: 53 (file not found) gives -2147221451.
constexpr std::int32_t kStartFailureBase = -2147221504;

// Starts the command line as a new program, directly (never through a shell), and waits until it
// has ended, yielding to the event loop at least every 100 ms. Returns its exit code (128 + the
// signal number for a crash), or kStartFailureBase + the error number when it cannot be started
// (53 missing, 70 not executable, 5 otherwise). The window style is 0 to 6: a missing one means 6,
// one outside 0..6 becomes 6 in the caller's variable. Linux shows no console, so it changes nothing.
// The program dies with this process; its output is discarded. No time-out.
std::int32_t RunAndWait(const QString& commandLine, int* windowStyle = nullptr);

// RunAndWait in two halves, so other work can go on while the program runs: StartProgram starts
// the command line as RunAndWait does and answers 0, or the negative start failure; WaitForProgram
// returns the exit code once the program has ended, yielding to the event loop meanwhile. A
// started program that is never waited for is ended and reaped when its handle goes.
class RunningProgram {
  public:
    RunningProgram() = default;
    ~RunningProgram();
    RunningProgram(RunningProgram&& other) noexcept;
    RunningProgram& operator=(RunningProgram&& other) noexcept;
    bool started() const { return pid_ > 0; }

  private:
    friend std::int32_t StartProgram(const QString&, RunningProgram&);
    friend std::int32_t WaitForProgram(RunningProgram&);
    friend void EndProgram(RunningProgram&);
    void reset();
    int pid_ = -1;
    int pidfd_ = -1;  // readable once the program has ended
};
std::int32_t StartProgram(const QString& commandLine, RunningProgram& program);
std::int32_t WaitForProgram(RunningProgram& program);
// Asks a started program to end (SIGTERM), so it can remove what it was writing, and reaps it; one
// still running after two seconds is killed. Does nothing for a program that was not started.
void EndProgram(RunningProgram& program);

// Splits one command line into the program and its arguments by the rules of Windows programs:
// the program name ends at the closing quote or at the first blank; then blanks separate
// arguments, "..." groups them, 2n backslashes before a quote give n backslashes, 2n+1 give n and a
// literal quote, a doubled quote inside quotes is a literal quote; other backslashes are literal.
QStringList SplitCommandLine(const QString& commandLine);

// One argument in double quotes that SplitCommandLine gives back unchanged: a quote inside becomes
// \" and backslashes before a quote or the closing quote are doubled. Only a name that holds a
// quote or ends in a backslash differs from plain quoting; Linux file names may hold both.
QString QuoteArgument(const QString& argument);

}  // namespace Shell32
