#pragma once

#include <QUrl>
#include <functional>

namespace platform {

// Opens a folder or a web page with the desktop's default handler. Tests install their own opener.
using UrlOpener = std::function<bool(const QUrl&)>;
bool openWithShell(const QUrl& url);
void setUrlOpener(UrlOpener opener);  // an empty function goes back to the desktop's handler

}  // namespace platform
