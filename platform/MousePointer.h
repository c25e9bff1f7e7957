#pragma once

namespace platform {

// The codes of a window's pointer (its MousePointer). The hourglass doubles as the program's busy
// flag: while it shows, nothing may change the list or start another run.
constexpr int kPointerDefault = 0;  // the arrow
constexpr int kPointerHourglass = 11;
constexpr int kPointerCustom = 99;  // the window's own cursor file, the hand of "HAND-M.CUR"

}  // namespace platform
