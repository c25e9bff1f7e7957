#pragma once

#include <functional>
#include <utility>

namespace platform {

// Closing the main window ends the program at once, also from inside a nested event loop (a run
// yielding, a modal box). Work that owns something outside the process (a temporary file being
// written) can register an action to run first; it gets the id to remove it again.
int addProgramEndAction(std::function<void()> action);
void removeProgramEndAction(int id);

// An end action for the length of one scope: work that leaves files while it runs registers
// how to remove them should the program end in its middle.
class ProgramEndAction {
  public:
    explicit ProgramEndAction(std::function<void()> action) : id_(addProgramEndAction(std::move(action))) {}
    ~ProgramEndAction() { removeProgramEndAction(id_); }
    ProgramEndAction(const ProgramEndAction&) = delete;
    ProgramEndAction& operator=(const ProgramEndAction&) = delete;

  private:
    int id_;
};

// Ends every process started from this one, children and their children (engine hosts,
// converter runs), wherever in the program they were started.
void endChildProcesses();

// Runs the registered actions, ends the child processes and leaves with exit code 0 without
// returning to any event loop. Settings are already on disk: they are written on every change.
[[noreturn]] void endProgramAtOnce();

}  // namespace platform
