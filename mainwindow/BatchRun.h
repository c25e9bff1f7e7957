#pragma once

#include <QString>
#include <functional>

#include "conversion/ConversionWindow.h"

namespace mainwindow {

// What the run calls for every document: the conversion itself unless a test put its own in place.
using DocumentConverter = std::function<void(Word1::ConversionWindow& window, const QString& documentPath)>;
void setDocumentConverter(DocumentConverter converter);  // an empty function restores the conversion

}  // namespace mainwindow
