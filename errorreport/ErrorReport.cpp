#include "errorreport/ErrorReport.h"

#include "platform/Dialogs.h"

namespace errorreport {

QString applicationErrorText(const QString& location, int step, const QString& description) {
    return description + QStringLiteral("\r\n") + location + QStringLiteral("at line ") +
           QString::number(step) + QStringLiteral("\r\r") +
           QStringLiteral("Please email screenshot of this message to ") + kSupportAddress;
}

void ReportApplicationError(const QString& location, int step, const QString& description) {
    platform::dialogs().messageBox(
        nullptr /* the active window */, applicationErrorText(location, step, description),
        QStringLiteral("Application Error"), platform::MessageButtons::Ok, platform::MessageIcon::Warning);
}

}  // namespace errorreport
