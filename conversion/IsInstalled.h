#pragma once

namespace IsInstalled {

// Tests once that an engine can be started and tells the user when it cannot. Never fails:
// start-up goes on either way.
void IsWordInstalled();

}  // namespace IsInstalled
