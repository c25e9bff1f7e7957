#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "conversion/ConverterResources.h"
#include "conversion/ConverterTool.h"
#include "conversion/ErrnoError.h"
#include "fsutil/NativeNames.h"
#include "platform/AppError.h"
#include "shared/SystemTempFolder.h"

namespace Main {

namespace {

constexpr long kResourceNotFound = 326;
const QString kConverterFileName = QStringLiteral("/nconvert.exe");

const QString kMadeFolderPrefix = QStringLiteral("marrowdale-nconvert-");

// The user's runtime folder ($XDG_RUNTIME_DIR) when nobody else can reach into it and programs
// may run from it: a directory of this user's, closed to everyone else, not mounted noexec.
QString privateRuntimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.startsWith(QLatin1Char('/'))) return QString();
    const QByteArray native = fsutil::nativePath(runtime);
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
        (info.st_mode & 0077) != 0) {
        return QString();
    }
    struct statvfs volume {};
    if (::statvfs(native.constData(), &volume) != 0 || (volume.f_flag & ST_NOEXEC) != 0) return QString();
    return runtime;
}

// The system temporary folder the engine host uses too.
QString systemTempFolder() { return QDir::cleanPath(QFile::decodeName(shared::systemTempFolder().c_str())); }

// A folder made afresh for one converter file: mkdtemp makes it 0700 and never takes a name
// that already exists, so nobody can have made it in advance.
QString freshPrivateFolder() {
    const QString base = systemTempFolder();
    QByteArray pattern =
        fsutil::nativePath(base + QLatin1Char('/') + kMadeFolderPrefix + QStringLiteral("XXXXXX"));
    if (::mkdtemp(pattern.data()) == nullptr) {
        const int error = errno;
        throw platform::AppError(
            platform::ErrorNumber::PathFileAccess,
            QStringLiteral("No private folder for the converter could be made in %1: %2.")
                .arg(base, QString::fromLocal8Bit(std::strerror(error))));
    }
    return QFile::decodeName(pattern);
}

}  // namespace

QByteArray LoadCustomResource(int id) {
    converterresources::registerConverterBuilds();
    QFile resource(QStringLiteral(":/CUSTOM/%1").arg(id));
    if (!resource.open(QIODevice::ReadOnly)) {
        throw platform::AppError(kResourceNotFound,
                                 QStringLiteral("Resource with identifier '%1' not found").arg(id));
    }
    return resource.readAll();
}

QString ConverterFilePath() {
    const QString temp = qEnvironmentVariable("TEMP");
    if (!temp.isEmpty()) return temp + kConverterFileName;
    const QString runtime = privateRuntimeFolder();
    if (!runtime.isEmpty()) return runtime + kConverterFileName;
    return freshPrivateFolder() + kConverterFileName;
}

void RemoveConverterFolder(const QString& converterFile) {
    const QFileInfo file(converterFile);
    const QFileInfo folder(file.path());
    if (file.fileName() != kConverterFileName.mid(1) || folder.path() != systemTempFolder() ||
        !folder.fileName().startsWith(kMadeFolderPrefix)) {
        return;
    }
    // rmdir takes only an empty folder, and a link is no folder to it.
    ::rmdir(fsutil::nativePath(folder.filePath()).constData());
}

bool IsTrustedConverterFile(const QString& path) {
    struct stat info {};
    if (::lstat(fsutil::nativePath(path).constData(), &info) != 0) return false;
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace Main
