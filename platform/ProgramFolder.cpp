#include "platform/ProgramFolder.h"

#include <QCoreApplication>

#include "platform/Services.h"

namespace platform {

namespace {
QString& title() {
    static QString current = QStringLiteral("Marrowdale");
    return current;
}
}  // namespace

QString ProgramFolderService::byDefault() { return QCoreApplication::applicationDirPath(); }

QString programFolder() {
    const QString folder = services::get<ProgramFolderService>();
    return folder.isEmpty() ? ProgramFolderService::byDefault() : folder;
}

QString ApplicationTitleService::byDefault() { return title(); }

QString applicationTitle() { return services::get<ApplicationTitleService>(); }
void setApplicationTitle(const QString& newTitle) { title() = newTitle; }

}  // namespace platform
