#include "platform/ProgramFolder.h"

#include <QCoreApplication>

namespace platform {

namespace {
QString& folderOverride() {
    static QString folder;
    return folder;
}
QString& title() {
    static QString current = QStringLiteral("Marrowdale");
    return current;
}
}  // namespace

QString programFolder() {
    if (!folderOverride().isEmpty()) return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString& folder) { folderOverride() = folder; }

QString applicationTitle() { return title(); }
void setApplicationTitle(const QString& newTitle) { title() = newTitle; }

}  // namespace platform
