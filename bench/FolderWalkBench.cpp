// Times the folder walk and the file listing on generated trees: a wide one and a deep one
// (every folder is tested again on each level on the way back up, so depth costs).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "fsutil/AddFolder.h"

namespace {

void makeFiles(const QString& folder, int count) {
    for (int i = 0; i < count; ++i) {
        QFile file(folder + QStringLiteral("/doc%1.docx").arg(i));
        if (file.open(QIODevice::WriteOnly)) file.write("x");
    }
}

void makeWide(const QString& root, int fanOut, int depth, int files) {
    makeFiles(root, files);
    if (depth == 0) return;
    for (int i = 0; i < fanOut; ++i) {
        const QString child = root + QStringLiteral("/sub%1").arg(i);
        QDir().mkdir(child);
        makeWide(child, fanOut, depth - 1, files);
    }
}

void makeDeep(const QString& root, int depth, int files) {
    QString folder = root;
    for (int i = 0; i < depth; ++i) {
        makeFiles(folder, files);
        folder += QStringLiteral("/d");
        QDir().mkdir(folder);
    }
}

void measure(const char* label, const QString& seed) {
    QElapsedTimer timer;
    timer.start();
    QStringList folders{seed + QLatin1Char('/')};
    AddFolder::CollectSubfolders(folders, true);
    const qint64 walkMs = timer.elapsed();
    timer.restart();
    qsizetype files = 0;
    for (const QString& folder : folders)
        files += AddFolder::ListFilesInFolder(folder.chopped(1), QStringLiteral("*.docx")).size();
    std::printf("%-28s %6lld folders in %5lld ms, %7lld files listed in %5lld ms\n", label,
                static_cast<long long>(folders.size()), static_cast<long long>(walkMs),
                static_cast<long long>(files), static_cast<long long>(timer.elapsed()));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir scratch;
    if (!scratch.isValid()) return 1;
    const QString wide = scratch.filePath(QStringLiteral("wide"));
    const QString deep = scratch.filePath(QStringLiteral("deep"));
    QDir().mkdir(wide);
    QDir().mkdir(deep);
    makeWide(wide, 12, 3, 5);
    makeDeep(deep, 300, 2);
    measure("wide (12 x 12 x 12, 5 files)", wide);
    measure("deep (300 levels, 2 files)", deep);
    return 0;
}
