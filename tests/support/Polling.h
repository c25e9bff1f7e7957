#pragma once

#include <functional>

namespace testsupport {

// Waits, letting the event loop run, until `done` answers true or `timeoutMs` passed; answers
// what `done` said last.
bool waitUntil(const std::function<bool()>& done, int timeoutMs);

}  // namespace testsupport
