#include "platform/Shell.h"

#include <QDesktopServices>

#include "platform/Services.h"

namespace platform {

UrlOpener UrlOpenerService::byDefault() {
    return [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

bool openWithShell(const QUrl& url) {
    const UrlOpener opener = services::get<UrlOpenerService>();
    return opener ? opener(url) : QDesktopServices::openUrl(url);
}

}  // namespace platform
