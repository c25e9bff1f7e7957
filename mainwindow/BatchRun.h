#pragma once

#include <QString>
#include <functional>

#include "conversion/ConversionWindow.h"

namespace mainwindow {

// What the run calls for every document, with the document most likely converted after it ("" for
// none): the conversion itself unless a test put its own in place with a
// platform::services::Override<DocumentConverterService>.
using DocumentConverter = std::function<void(Word1::ConversionWindow& window, const QString& documentPath,
                                             const QString& documentAfterThis)>;
struct DocumentConverterService {
    using Value = DocumentConverter;
    static DocumentConverter byDefault() { return {}; }  // empty: Word1::SaveDocAsPCX
};

}  // namespace mainwindow
