#pragma once

#include <memory>

#include "platform/WordApplication.h"

namespace platform {

// Attaches to the running host of another window, found through its registration (GetObject):
// it can tell its name and nothing else, as attaching only serves to see that Word is running.
// Throws AppError 429 when no host is running.
std::unique_ptr<WordApplication> attachToRunningHost();

}  // namespace platform
