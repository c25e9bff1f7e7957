#pragma once

#include "platform/WordApplication.h"

namespace platform {

// The real engine: every Word object is a client of its own marrowdale-wordhost process.
WordFactory& hostWordFactory();

}  // namespace platform
