#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

namespace wordclient {

// How an engine host's process is ended and cleared away: reaped so no zombie stays, and its
// private folder removed when the host could not remove it itself.

// Waits for the host to end in the background (killing it first when `kill` is set, and after
// 5 s anyway), then removes `folder`. The caller never waits.
void reapLater(pid_t pid, bool kill, std::string folder);

// Kills a host that failed its client and waits up to 2 s for it on the window's thread (its
// events keep running), so its folder goes at once; false when it took longer (left to reapLater).
bool killedAndEnded(pid_t pid, const std::string& folder);

}  // namespace wordclient
