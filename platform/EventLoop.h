#pragma once

namespace platform {

// Lets the window process all pending events, then comes back. Long work calls this at fixed
// points so the window stays responsive on its one thread. Does nothing without an application.
void yieldToEventLoop();

}  // namespace platform
