#include "filelist/AddFolderFiles.h"

#include <QStringList>

#include "errorreport/StepGuard.h"
#include "filelist/FileListView.h"
#include "filelist/ListWindow.h"
#include "filelist/TreeFileRules.h"
#include "fsutil/AddFolder.h"
#include "platform/Dialogs.h"
#include "platform/MousePointer.h"
#include "platform/ProgramFolder.h"

namespace filelist {

namespace {
const QString kLocation = QStringLiteral("in Tessary2017/04/05.Form1.PushButton4_Click ");

// Steps 120-130 for one folder of the walk: its files of the extension, by the tree's rules.
void appendFolderFiles(errorreport::StepGuard& guard, ListWindow& window, const QString& folder,
                       const QString& extension) {
    QStringList names;
    qsizetype position = 0;
    QString path;
    // A folder gone since the walk holds no files: its loss was reported at 114 if at all.
    guard.step(120, [&] { names = filesOfFolder(folder, QStringLiteral("*.") + extension); });
    if (!guard.loopStart(122, [&] {
            position = 0;
            return position < names.size();
        })) {
        return;
    }
    do {
        if (guard.test(124, [&] { return isTildeName(names.at(position)); })) continue;
        guard.step(126, [&] { path = treeFilePath(folder, names.at(position)); });
        if (guard.test(128, [&] { return isAppendedTreeFile(path); }))
            guard.step(128, [&] { window.list().appendEntry(collapseDoubledSeparators(path)); });
    } while (guard.loopAdvance(130, [&] { return ++position < names.size(); }));
}

}  // namespace

void PushButton4_Click(ListWindow& window) {
    errorreport::StepGuard guard(kLocation);
    QString extension;
    QString chosen;
    QStringList folders;
    qsizetype folderIndex = 0;
    QString folder;

    guard.step(100, [&] {
        extension = platform::dialogs().inputBox(
            window.window(),
            QStringLiteral("Enter file extension to load:") + QStringLiteral("\r\r") +
                QStringLiteral("(* for all files, txt for all txt files, doc for all doc files, etc.)"),
            platform::applicationTitle(), QStringLiteral("doc"));
    });
    if (guard.test(102, [&] { return extension.isEmpty(); })) return;
    guard.step(104, [&] {
        chosen = AddFolder::BrowseForFolder(window.window(), QStringLiteral("Please select folder:"));
    });
    if (guard.test(106, [&] { return chosen.isEmpty(); })) return;

    // Started from a yield of a run, the adder leaves the run busy when it ends.
    const bool runBusy = window.mousePointer() == platform::kPointerHourglass;
    guard.step(110, [&] { window.setMousePointer(platform::kPointerHourglass); });
    guard.step(112, [&] { folders = QStringList{chosen + QLatin1Char('/')}; });
    guard.step(114, [&] { AddFolder::CollectSubfolders(folders, true); });
    if (guard.loopStart(116, [&] {
            folderIndex = 0;
            return folderIndex < folders.size();
        })) {
        do {
            guard.step(118, [&] { folder = folders.at(folderIndex).chopped(1); });
            appendFolderFiles(guard, window, folder, extension);
        } while (guard.loopAdvance(130, [&] { return ++folderIndex < folders.size(); }));
    }
    guard.step(132, [&] {
        window.setMousePointer(runBusy ? platform::kPointerHourglass : platform::kPointerDefault);
    });
}

}  // namespace filelist
