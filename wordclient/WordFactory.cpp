// Which factory makes the Word objects: the real engine's, unless an override is in force.
#include "platform/Services.h"
#include "wordclient/HostWordFactory.h"
#include "wordclient/WordApplication.h"

namespace wordclient {

WordFactory& hostWordFactory() {
    // Never destroyed: at exit a spare host sees its channel close and ends by itself.
    static auto* factory = new HostWordFactory;
    return *factory;
}

WordFactory* WordFactory::byDefault() { return &hostWordFactory(); }

WordFactory& wordFactory() { return platform::services::use<WordFactory>(); }

}  // namespace wordclient
