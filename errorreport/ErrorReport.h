#pragma once

#include <QString>

namespace errorreport {

inline const QString kSupportAddress = QStringLiteral("support@hollenwick.example");

// The text of the "Application Error" box for a failure of `step` in the procedure at `location`.
QString applicationErrorText(const QString& location, int step, const QString& description);

// Shows the "Application Error" box (warning icon, OK, modal) and returns when it is closed.
void ReportApplicationError(const QString& location, int step, const QString& description);

}  // namespace errorreport
