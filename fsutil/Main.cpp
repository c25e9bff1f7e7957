#include "fsutil/Main.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "fsutil/FileAttributes.h"
#include "fsutil/NativeNames.h"
#include "platform/AppError.h"
#include "platform/EventLoop.h"

namespace Main {

namespace {

// Shell folder numbers this program knows.
constexpr int kDesktop = 0;
constexpr int kPersonal = 5;
constexpr int kDesktopDirectory = 16;
constexpr int kProfile = 40;

QString existingFolder(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isDir()) return QString();
    return QDir::cleanPath(path);
}

QString homeFolder() { return existingFolder(QDir::homePath()); }

}  // namespace

bool FileExists(const QString& path) {
    if (path.isEmpty()) return false;
    struct stat info {};
    return ::stat(fsutil::nativePath(path).constData(), &info) == 0;
}

bool IsFolder(const QString& path) {
    try {
        return (fsutil::FileAttributes(path) & fsutil::Attribute::Directory) != 0;
    } catch (const platform::AppError&) {
        return false;
    }
}

QString FileNameOfPath(const QString& path) { return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1); }

void DeleteFileQuietly(const QString& path) {
    platform::yieldToEventLoop();
    if (path.isEmpty()) return;
    // unlink never removes a directory, not even for root.
    ::unlink(fsutil::nativePath(path).constData());
}

QString SpecialFolderPath(int csidl) {
    switch (csidl) {
        case kDesktop:
        case kDesktopDirectory: {
            const QString desktop =
                existingFolder(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
            return desktop.isEmpty() ? homeFolder() : desktop;
        }
        case kPersonal:
            return existingFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        case kProfile:
            return homeFolder();
        default:
            return QString();
    }
}

QString DesktopFolderPath() {
    const QString desktop = SpecialFolderPath(kDesktop);
    if (desktop.isEmpty()) throw platform::AppError(platform::ErrorNumber::InvalidProcedureCall);
    return desktop.endsWith(QLatin1Char('/')) ? desktop : desktop + QLatin1Char('/');
}

}  // namespace Main
