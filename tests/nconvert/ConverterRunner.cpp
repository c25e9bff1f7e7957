#include "tests/nconvert/ConverterRunner.h"

#include <QProcess>
#include <QStandardPaths>

namespace nconverttest {

namespace {

QString pathOf(Build build) {
    return QString::fromUtf8(build == Build::I386 ? NCONVERT32_PATH : NCONVERT64_PATH);
}

RunResult run(const QString& program, const QStringList& arguments, const std::function<void()>& childSetup) {
    QProcess process;
    if (childSetup) process.setChildProcessModifier(childSetup);
    process.start(program, arguments);
    RunResult result;
    result.started = process.waitForStarted(30000);
    if (!result.started) return result;
    process.waitForFinished(120000);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.standardOutput = process.readAllStandardOutput();
    result.standardError = process.readAllStandardError();
    return result;
}

// The command that runs a build here: the file itself, or qemu-i386 with it.
QStringList commandFor(Build build) {
    static const bool kernelRunsI386 = run(pathOf(Build::I386), {QStringLiteral("-help")}, nullptr).started;
    if (build == Build::X86_64 || kernelRunsI386) return {pathOf(build)};
    const QString qemu = QStandardPaths::findExecutable(QStringLiteral("qemu-i386"));
    if (qemu.isEmpty()) return {};
    return {qemu, pathOf(build)};
}

}  // namespace

const char* buildName(Build build) { return build == Build::I386 ? "i386" : "x86-64"; }

bool available(Build build) { return !commandFor(build).isEmpty(); }

RunResult runConverter(Build build, const QStringList& arguments, const std::function<void()>& childSetup) {
    QStringList command = commandFor(build);
    if (command.isEmpty()) return {};
    const QString program = command.takeFirst();
    return run(program, command + arguments, childSetup);
}

RunResult runTool(const QString& program, const QStringList& arguments) {
    return run(program, arguments, nullptr);
}

}  // namespace nconverttest
