#pragma once

#include <QByteArray>
#include <QStringList>
#include <functional>
#include <ostream>

namespace nconverttest {

enum class Build { I386, X86_64 };

const char* buildName(Build build);
inline void PrintTo(Build build, std::ostream* os) { *os << buildName(build); }

// What one run of a converter build gave.
struct RunResult {
    bool started = false;
    int exitCode = -1;
    QByteArray standardOutput;
    QByteArray standardError;
};

// Runs a converter build with the arguments. The i386 build runs directly when the kernel runs
// 32-bit programs, otherwise under qemu-i386; `available` says whether either works here.
bool available(Build build);
RunResult runConverter(Build build, const QStringList& arguments,
                       const std::function<void()>& childSetup = nullptr);

// Runs any tool; the standard output is returned.
RunResult runTool(const QString& program, const QStringList& arguments);

}  // namespace nconverttest
