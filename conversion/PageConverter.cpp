#include "conversion/PageConverter.h"

#include "conversion/ConverterTool.h"
#include "conversion/Shell32.h"
#include "platform/AppError.h"

#include <QFileInfo>

namespace Word1 {

using platform::AppError;

void runConverter(const QString& converterFile, const QString& commandLine, const QString& pcxPath) {
    if (!QFileInfo(converterFile).isFile()) {
        throw AppError(platform::ErrorNumber::FileNotFound,
                       QStringLiteral("The converter %1 is missing.").arg(converterFile));
    }
    // A converter file someone else could have put or changed there would run as this user.
    if (!Main::IsTrustedConverterFile(converterFile)) {
        throw AppError(platform::ErrorNumber::PermissionDenied,
                       QStringLiteral("The converter %1 is not run: it must be a file of yours that nobody else "
                                      "can change.")
                           .arg(converterFile));
    }
    int hidden = 0;
    const std::int32_t result = Shell32::RunAndWait(commandLine, &hidden);
    if (result < 0) {
        throw AppError(platform::ErrorNumber::FileNotFound,
                       QStringLiteral("The converter could not be started (error %1).").arg(result));
    }
    if (result != 0 || !QFileInfo(pcxPath).isFile()) {
        throw AppError(platform::ErrorNumber::PathFileAccess,
                       QStringLiteral("The converter could not write %1 (exit code %2).").arg(pcxPath).arg(result));
    }
}

}  // namespace Word1
