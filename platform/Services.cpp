#include "platform/Services.h"

namespace platform::services {

void OverrideLink::push(OverrideLink*& innermost, OverrideLink* link) {
    link->outer_ = innermost;
    innermost = link;
}

void OverrideLink::remove(OverrideLink*& innermost, OverrideLink* link) {
    for (OverrideLink** at = &innermost; *at != nullptr; at = &(*at)->outer_) {
        if (*at == link) {
            *at = link->outer_;
            return;
        }
    }
}

}  // namespace platform::services
