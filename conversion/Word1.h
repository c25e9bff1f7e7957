#pragma once

#include <QString>
#include <functional>

#include "conversion/ConversionWindow.h"

class QWidget;

namespace Word1 {

// Told after every document: its path and the number of PCX files written for it.
using ConversionObserver = std::function<void(const QString& documentPath, int pcxWritten)>;

// Turns one document into one PCX image per page in the window's output folder. Every failure is
// reported through the error report as it happens; the call always returns normally. `observer`,
// when given, hears of the document at its end. `documentAfterThis` is the document the run will
// most likely convert next ("" for none): a spare engine reads it ahead once this one's is started.
void SaveDocAsPCX(ConversionWindow& window, const QString& documentPath,
                  const ConversionObserver& observer = {}, const QString& documentAfterThis = QString());

// True when an engine is already running for this user and reports the name "Microsoft Word".
bool IsWordRunning();

// True when the run must not start: an engine is running and the user answered No to the warning.
bool ConfirmWordNotRunning(QWidget* owner);

}  // namespace Word1
