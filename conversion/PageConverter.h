#pragma once

#include <QString>

namespace Word1 {

// Runs the converter on one page and checks that it left its PCX file. Throws platform::AppError
// when the converter file is not safe to run, cannot be started, fails, or leaves no output.
void runConverter(const QString& converterFile, const QString& commandLine, const QString& pcxPath);

}  // namespace Word1
