#include "conversion/ConverterResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the initialiser in the enclosing namespace, so it is called from here.
static void initConverterResources() { Q_INIT_RESOURCE(converter); }

namespace converterresources {

void registerConverterBuilds() {
    static const bool registered = (initConverterResources(), true);
    (void)registered;
}

}  // namespace converterresources
