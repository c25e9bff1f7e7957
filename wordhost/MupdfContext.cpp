#include "wordhost/MupdfContext.h"

#include <mupdf/fitz.h>

#include "wordhost/EngineError.h"

namespace wordhost {

namespace {
// MuPDF's warnings about the engine's PDF (odd annotation boxes, fonts it substitutes) are of no
// use here; its errors come back to the caller with their message.
void quiet(void*, const char*) {}
}  // namespace

MupdfContext::MupdfContext() : context_(fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT)) {
    if (context_ == nullptr) throw EngineError("The page layout cannot be read: out of memory.");
    fz_set_warning_callback(context_, quiet, nullptr);
    fz_set_error_callback(context_, quiet, nullptr);
}

MupdfContext::~MupdfContext() { fz_drop_context(context_); }

std::string MupdfContext::caughtMessage() const { return fz_caught_message(context_); }

}  // namespace wordhost
