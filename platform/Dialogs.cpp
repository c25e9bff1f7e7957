#include "platform/Dialogs.h"

#include <QtGlobal>

#include "platform/Services.h"

namespace platform {

Dialogs& dialogs() {
    Dialogs* const inUse = services::get<Dialogs>();
    if (inUse == nullptr) qFatal("marrowdale: a box is shown but no dialogs are in place");
    return *inUse;
}

}  // namespace platform
