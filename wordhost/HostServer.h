#pragma once

namespace wordhost {

// Serves one client over the host's standard input and output until it says "quit", goes away
// (end of input) or the host is told to end by a signal. Returns the exit status.
int serveClient();

}  // namespace wordhost
