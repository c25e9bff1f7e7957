#pragma once

#include <functional>

class QWindow;

namespace platform {

// Calls `closeRequested` whenever the window system asks `window` to close (its close button, the
// window menu, the taskbar), also while a modal box blocks the window: Qt drops such a request
// then, and a window with a box up could not be closed at all. On X11 the request is the window
// manager's WM_DELETE_WINDOW message; on other window systems only Qt's own close event is there.
void onCloseRequest(QWindow* window, std::function<void()> closeRequested);

}  // namespace platform
