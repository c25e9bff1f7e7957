#pragma once

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>

namespace wordhost {

// The office's process-wide UNO component context, for the engine's document model. Throws
// EngineError when the office in this process does not offer it.
com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> engineContext();

}  // namespace wordhost
