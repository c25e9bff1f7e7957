#include "fsutil/NativeNames.h"

#include <QFile>
#include <QStringDecoder>

#include "platform/ErrnoNumber.h"

namespace fsutil {

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

std::optional<QString> decodeNativeName(const char* name) {
    // Stateless: a name ending in the first byte of a sequence is an error, not "more to come".
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = decoder.decode(QByteArrayView(name));
    if (decoder.hasError()) return std::nullopt;
    return decoded;
}

long folderErrorNumber(int errorCode) {
    return platform::errorNumberFromErrno(errorCode, platform::ErrorNumber::PathNotFound);
}

}  // namespace fsutil
