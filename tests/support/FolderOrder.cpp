#include "tests/support/FolderOrder.h"

#include <dirent.h>

#include <QFile>
#include <QSet>
#include <algorithm>

namespace testsupport {

QStringList directoryOrder(const QString& folder) {
    QStringList names;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name != QLatin1String(".") && name != QLatin1String("..")) names << name;
    }
    ::closedir(dir);
    return names;
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
