#pragma once

#include <QCursor>
#include <QString>
#include <optional>

namespace platform {

// Loads a Windows cursor (.cur) or icon (.ico) file as a pointer. A cursor keeps the hot spot
// written in the file; an icon, which has none, points with its centre. Nothing when the file
// is missing or cannot be read.
std::optional<QCursor> loadCursorFile(const QString& path);

}  // namespace platform
