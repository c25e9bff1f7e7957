#include "platform/Shell.h"

#include <QDesktopServices>

namespace platform {

namespace {
UrlOpener& opener() {
    static UrlOpener current;
    return current;
}
}  // namespace

bool openWithShell(const QUrl& url) {
    if (opener()) return opener()(url);
    return QDesktopServices::openUrl(url);
}

void setUrlOpener(UrlOpener replacement) { opener() = std::move(replacement); }

}  // namespace platform
