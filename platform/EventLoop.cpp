#include "platform/EventLoop.h"

#include <QCoreApplication>

namespace platform {

void yieldToEventLoop() {
    if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
}

}  // namespace platform
