#include "platform/Settings.h"

#include <QSettings>

namespace platform {

namespace {
const QString kKey = QStringLiteral("Marrowdale/Text1");
}  // namespace

std::optional<QString> storedOutputFolder() {
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Hollenwick"),
                             QStringLiteral("Hollenwick"));
    if (!settings.contains(kKey)) return std::nullopt;
    return settings.value(kKey).toString();
}

void storeOutputFolder(const QString& text) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Hollenwick"),
                       QStringLiteral("Hollenwick"));
    settings.setValue(kKey, text);
    settings.sync();
}

}  // namespace platform
