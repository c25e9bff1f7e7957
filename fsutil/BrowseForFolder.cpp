#include "fsutil/AddFolder.h"
#include "fsutil/FileAttributes.h"
#include "platform/Dialogs.h"

namespace AddFolder {

QString BrowseForFolder(QWidget* owner, const QString& title) {
    QString chosen = platform::dialogs().browseForFolder(owner, title);
    if (fsutil::IsRootFolder(chosen)) return QStringLiteral("/");
    while (chosen.endsWith(QLatin1Char('/'))) chosen.chop(1);
    return chosen;
}

}  // namespace AddFolder
