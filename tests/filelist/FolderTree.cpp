#include "tests/filelist/FolderTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <sys/stat.h>

namespace testsupport {

FolderTree::FolderTree() : dir_(QDir::tempPath() + QStringLiteral("/tree-XXXXXX")) {}

QString FolderTree::folder(const QString& relative) {
    const QString path = root() + QLatin1Char('/') + relative;
    QDir().mkpath(path);
    return path;
}

QString FolderTree::file(const QString& relative) {
    const QString path = root() + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    if (out.open(QIODevice::WriteOnly)) out.write("content of " + relative.toUtf8());
    return path;
}

void FolderTree::makeReadOnly(const QString& path) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &st) == 0)
        ::chmod(name.constData(), st.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH));
}

QStringList FolderTree::paths(const QStringList& relatives) const {
    QStringList full;
    for (const QString& relative : relatives) full << root() + QLatin1Char('/') + relative;
    return full;
}

bool inFolderWalkOrder(const QStringList& entries, const QStringList& expected, QString& why) {
    QStringList sortedEntries = entries;
    QStringList sortedExpected = expected;
    std::sort(sortedEntries.begin(), sortedEntries.end());
    std::sort(sortedExpected.begin(), sortedExpected.end());
    if (sortedEntries != sortedExpected) {
        why =
            QStringLiteral("entries\n  %1\nexpected\n  %2")
                .arg(sortedEntries.join(QStringLiteral("\n  ")), sortedExpected.join(QStringLiteral("\n  ")));
        return false;
    }
    QSet<QString> finishedFolders;
    QString currentFolder;
    qsizetype currentDepth = -1;
    for (const QString& entry : entries) {
        const QString folder = entry.left(entry.lastIndexOf(QLatin1Char('/')));
        if (folder == currentFolder) continue;
        const qsizetype depth = folder.count(QLatin1Char('/'));
        if (finishedFolders.contains(folder)) {
            why = QStringLiteral("the files of %1 are not together").arg(folder);
            return false;
        }
        if (depth < currentDepth) {
            why = QStringLiteral("%1 comes after the deeper %2").arg(folder, currentFolder);
            return false;
        }
        if (!currentFolder.isEmpty()) finishedFolders.insert(currentFolder);
        currentFolder = folder;
        currentDepth = depth;
    }
    return true;
}

}  // namespace testsupport
