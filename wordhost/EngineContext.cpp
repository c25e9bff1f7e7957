#include "wordhost/EngineContext.h"

#include <dlfcn.h>

#include "wordhost/EngineError.h"
#include "wordhost/LibreOfficeSession.h"

namespace wordhost {

// The office exports its process-wide component context from its core library; LibreOfficeKit
// loaded that library privately, so it is looked up there.
com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> engineContext() {
    using GetContext = com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> (*)();
    static GetContext get = [] {
        const std::string folder = LibreOfficeSession::defaultProgramFolder();
        for (const char* library : {"/libmergedlo.so", "/libcomphelper.so", "/libcomphelperlo.so"}) {
            void* handle = ::dlopen((folder + library).c_str(), RTLD_LAZY | RTLD_NOLOAD);
            if (handle == nullptr) continue;
            if (void* symbol = ::dlsym(handle, "_ZN10comphelper26getProcessComponentContextEv"))
                return reinterpret_cast<GetContext>(symbol);
        }
        return GetContext(nullptr);
    }();
    if (get == nullptr) throw EngineError("The document engine does not offer its document model.");
    return get();
}

}  // namespace wordhost
