#pragma once

#include <sys/types.h>

#include <csignal>

namespace platform {

// How a started program is set up before it runs.
struct ChildSetup {
    int standardInput = -1;              // a descriptor to become the program's 0; -1 keeps ours
    int standardOutput = -1;             // ... its 1
    int standardError = -1;              // ... its 2
    int deathSignal = SIGKILL;           // what the program gets when we die
    bool closeOtherDescriptors = false;  // nothing but 0, 1 and 2 stays open in it
};

// Starts `path` with `argv` (null-terminated) and answers its process id, or minus the errno of
// a failed start. The child borrows this process's memory until it runs the program (vfork):
// a fork would mark every page of our heap copy-on-write, and each later write to the heap would
// fault once per page, which costs more than the whole conversion of a page on virtual machines.
pid_t startChild(const char* path, char* const* argv, const ChildSetup& setup);

}  // namespace platform
