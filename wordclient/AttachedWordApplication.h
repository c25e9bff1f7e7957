#pragma once

#include <memory>

#include "wordclient/WordApplication.h"

namespace wordclient {

// Attaches to the running host of another window, found through its registration (GetObject):
// it can tell its name and nothing else, as attaching only serves to see that Word is running.
// Throws AppError 429 when no host is running.
std::unique_ptr<WordApplication> attachToRunningHost();

}  // namespace wordclient
