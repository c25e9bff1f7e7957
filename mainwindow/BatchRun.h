#pragma once

#include <QString>
#include <functional>

#include "conversion/ConversionWindow.h"

namespace mainwindow {

// What the run calls for every document: the conversion itself unless a test put its own in
// place with a platform::services::Override<DocumentConverterService>.
using DocumentConverter = std::function<void(Word1::ConversionWindow& window, const QString& documentPath)>;
struct DocumentConverterService {
    using Value = DocumentConverter;
    static DocumentConverter byDefault() { return {}; }  // empty: Word1::SaveDocAsPCX
};

}  // namespace mainwindow
