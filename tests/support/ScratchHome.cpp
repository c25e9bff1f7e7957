#include "tests/support/ScratchHome.h"

#include <QDir>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

namespace {
QString& scratch() {
    static QString path;
    return path;
}

void setEnv(const char* name, const QString& value) { ::setenv(name, value.toLocal8Bit().constData(), 1); }

QString envOr(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return QString::fromLocal8Bit(value != nullptr ? value : fallback);
}
}  // namespace

void enterScratchHome() {
    if (!scratch().isEmpty()) return;
    std::string templ = "/tmp/marrowdale-test-XXXXXX";
    if (::mkdtemp(templ.data()) == nullptr) std::abort();
    scratch() = QString::fromLocal8Bit(templ.c_str());
    const QString home = scratch() + QStringLiteral("/home");
    for (const char* sub : {"/home/Desktop", "/home/.config", "/home/.cache", "/home/.local/share", "/tmp",
                            "/runtime"}) {
        QDir().mkpath(scratch() + QLatin1String(sub));
    }
    ::chmod((scratch() + QStringLiteral("/runtime")).toLocal8Bit().constData(), 0700);
    setEnv("HOME", home);
    setEnv("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    setEnv("XDG_CACHE_HOME", home + QStringLiteral("/.cache"));
    setEnv("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    setEnv("XDG_RUNTIME_DIR", scratch() + QStringLiteral("/runtime"));
    setEnv("TMPDIR", scratch() + QStringLiteral("/tmp"));
    setEnv("TEMP", scratch() + QStringLiteral("/tmp"));
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setEnv("QT_QPA_PLATFORM", QStringLiteral("offscreen"));
}

QString scratchHome() { return scratch(); }

QString programDir() { return envOr("MARROWDALE_PROGRAM_DIR", MARROWDALE_BUILT_PROGRAM_DIR); }

QString sourceDir() { return envOr("MARROWDALE_SOURCE_DIR", MARROWDALE_BUILT_SOURCE_DIR); }

QString testDocsDir() {
    // shared/testdocs beside the source tree, or beside a folder above it (a worktree lives deeper).
    QDir dir(QDir::cleanPath(QDir(sourceDir()).absolutePath()));
    while (dir.cdUp()) {
        if (dir.exists(QStringLiteral("shared/testdocs"))) return dir.filePath(QStringLiteral("shared/testdocs"));
    }
    // A clone on its own carries a copy of the same documents.
    return QDir::cleanPath(sourceDir() + QStringLiteral("/tests/data/testdocs"));
}

}  // namespace testsupport
