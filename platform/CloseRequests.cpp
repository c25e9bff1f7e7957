#include "platform/CloseRequests.h"

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace platform {

namespace {

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (reply == nullptr) return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

// Sees the window manager's close message before Qt's modal-box check can drop it. A child of the
// window: it stops filtering when the window goes.
class DeleteWindowFilter : public QObject, public QAbstractNativeEventFilter {
  public:
    DeleteWindowFilter(QWindow* window, xcb_atom_t protocols, xcb_atom_t deleteWindow,
                       std::function<void()> closeRequested)
        : QObject(window),
          window_(window),
          protocols_(protocols),
          deleteWindow_(deleteWindow),
          closeRequested_(std::move(closeRequested)) {}

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
        const auto* client = static_cast<const xcb_client_message_event_t*>(message);
        if (client->format != 32 || client->type != protocols_ || client->data.data32[0] != deleteWindow_ ||
            client->window != static_cast<xcb_window_t>(window_->winId())) {
            return false;
        }
        closeRequested_();
        return true;
    }

  private:
    QWindow* const window_;
    const xcb_atom_t protocols_;
    const xcb_atom_t deleteWindow_;
    const std::function<void()> closeRequested_;
};

}  // namespace

void onCloseRequest(QWindow* window, std::function<void()> closeRequested) {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || window == nullptr) return;
    xcb_connection_t* const connection = x11->connection();
    // The offscreen platform answers as X11 without a connection to a server.
    if (connection == nullptr) return;
    const xcb_atom_t protocols = atomNamed(connection, "WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = atomNamed(connection, "WM_DELETE_WINDOW");
    if (protocols == XCB_ATOM_NONE || deleteWindow == XCB_ATOM_NONE) return;
    auto* filter = new DeleteWindowFilter(window, protocols, deleteWindow, std::move(closeRequested));
    QCoreApplication::instance()->installNativeEventFilter(filter);
}

}  // namespace platform
