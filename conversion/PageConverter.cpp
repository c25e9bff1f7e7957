#include "conversion/PageConverter.h"

#include <QFileInfo>

#include "conversion/ConverterTool.h"
#include "platform/AppError.h"

namespace Word1 {

using platform::AppError;

namespace {

void checkConverterFile(const QString& converterFile) {
    if (!QFileInfo(converterFile).isFile()) {
        throw AppError(platform::ErrorNumber::FileNotFound,
                       QStringLiteral("The converter %1 is missing.").arg(converterFile));
    }
    // A converter file someone else could have put or changed there would run as this user.
    if (!Main::IsTrustedConverterFile(converterFile)) {
        throw AppError(
            platform::ErrorNumber::PermissionDenied,
            QStringLiteral("The converter %1 is not run: it must be a file of yours that nobody else "
                           "can change.")
                .arg(converterFile));
    }
}

// The program the command line starts must be the file just checked, character for character. A
// quoted program name knows no escapes, so a path with a double quote in it would end early and
// start whatever file its first part names.
void checkCommandStarts(const QString& commandLine, const QString& converterFile) {
    if (Shell32::SplitCommandLine(commandLine).value(0) != converterFile) {
        throw AppError(platform::ErrorNumber::BadFileName,
                       QStringLiteral("The converter %1 is not run: its path cannot be written on a command "
                                      "line (a double quote cannot be quoted).")
                           .arg(converterFile));
    }
}

}  // namespace

void PageConversion::start(const QString& converterFile, const QString& commandLine, const QString& pcxPath) {
    pending_ = true;
    pcxPath_ = pcxPath;
    startFailure_ = nullptr;
    try {
        checkConverterFile(converterFile);
        checkCommandStarts(commandLine, converterFile);
        const std::int32_t started = Shell32::StartProgram(commandLine, program_);
        if (started < 0) {
            throw AppError(platform::ErrorNumber::FileNotFound,
                           QStringLiteral("The converter could not be started (error %1).").arg(started));
        }
    } catch (...) {
        startFailure_ = std::current_exception();
    }
}

void PageConversion::abandon() {
    pending_ = false;
    startFailure_ = nullptr;
    Shell32::EndProgram(program_);
}

void PageConversion::finish() {
    if (!pending_) return;
    pending_ = false;
    if (startFailure_) std::rethrow_exception(std::exchange(startFailure_, nullptr));
    const std::int32_t result = Shell32::WaitForProgram(program_);
    if (result != 0 || !QFileInfo(pcxPath_).isFile()) {
        throw AppError(
            platform::ErrorNumber::PathFileAccess,
            QStringLiteral("The converter could not write %1 (exit code %2).").arg(pcxPath_).arg(result));
    }
}

}  // namespace Word1
