#include "conversion/ConverterTool.h"
#include "conversion/ErrnoError.h"
#include "fsutil/NativeNames.h"
#include "nconvert/ConverterResources.h"
#include "platform/AppError.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace Main {

namespace {

constexpr long kResourceNotFound = 326;
const QString kConverterFileName = QStringLiteral("/nconvert.exe");

// The per-user folder that stands in for TEMP: ours alone, so nobody can put a converter there.
QString privateTemporaryFolder() {
    const QString folder = QDir::tempPath() + QStringLiteral("/marrowdale-") + QString::number(::geteuid());
    const QByteArray native = fsutil::nativePath(folder);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) throw errorFromErrno(errno);

    struct stat info {};
    if (::lstat(native.constData(), &info) != 0) throw errorFromErrno(errno);
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
        throw platform::AppError(platform::ErrorNumber::PermissionDenied);
    }
    if ((info.st_mode & 0777) != 0700 && ::chmod(native.constData(), 0700) != 0) throw errorFromErrno(errno);
    return folder;
}

}  // namespace

QByteArray LoadCustomResource(int id) {
    converterresources::registerConverterBuilds();
    QFile resource(QStringLiteral(":/CUSTOM/%1").arg(id));
    if (!resource.open(QIODevice::ReadOnly)) {
        throw platform::AppError(kResourceNotFound, QStringLiteral("Resource with identifier '%1' not found").arg(id));
    }
    return resource.readAll();
}

QString ConverterFilePath() {
    const QString temp = qEnvironmentVariable("TEMP");
    if (!temp.isEmpty()) return temp + kConverterFileName;
    return privateTemporaryFolder() + kConverterFileName;
}

bool IsTrustedConverterFile(const QString& path) {
    struct stat info {};
    if (::lstat(fsutil::nativePath(path).constData(), &info) != 0) return false;
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace Main
