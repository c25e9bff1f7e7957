// Which factory makes the Word objects: the real engine's, unless an override is in force.
#include "platform/HostWordFactory.h"
#include "platform/Services.h"
#include "platform/WordApplication.h"

namespace platform {

WordFactory& hostWordFactory() {
    // Never destroyed: at exit a spare host sees its channel close and ends by itself.
    static auto* factory = new HostWordFactory;
    return *factory;
}

WordFactory* WordFactory::byDefault() { return &hostWordFactory(); }

WordFactory& wordFactory() { return services::use<WordFactory>(); }

}  // namespace platform
