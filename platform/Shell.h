#pragma once

#include <QUrl>
#include <functional>

namespace platform {

// Opens a folder or a web page with the desktop's default handler, or with the opener of a
// services::Override<UrlOpenerService>.
using UrlOpener = std::function<bool(const QUrl&)>;
bool openWithShell(const QUrl& url);

struct UrlOpenerService {
    using Value = UrlOpener;
    static UrlOpener byDefault();  // the desktop's handler
};

}  // namespace platform
