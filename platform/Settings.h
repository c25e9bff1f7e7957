#pragma once

#include <QString>
#include <optional>

namespace platform {

// The one per-user setting: the output folder (application Hollenwick, section Marrowdale, key Text1).
std::optional<QString> storedOutputFolder();
void storeOutputFolder(const QString& text);

}  // namespace platform
