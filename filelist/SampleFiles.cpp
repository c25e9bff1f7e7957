#include "filelist/SampleFiles.h"

#include <QUrl>

#include "errorreport/StepGuard.h"
#include "filelist/FileListView.h"
#include "filelist/ListWindow.h"
#include "filelist/TreeFileRules.h"
#include "platform/Dialogs.h"
#include "platform/ProgramFolder.h"
#include "platform/Shell.h"

namespace filelist {

namespace {
const QString kLocation = QStringLiteral("in Tessary2017/04/05.Form1.PushButton5_Click ");
const QString kQuestion = QStringLiteral(
    "Would you like this software to open the folder where these sample files are stored (so that "
    "you can view them before working with them)?");
const QString kNoOpener = QStringLiteral(
    "The sample folder could not be opened: no program for opening folders (xdg-open) was found.\r\r"
    "The sample files are in %1");
}  // namespace

void PushButton5_Click(ListWindow& window) {
    errorreport::StepGuard guard(kLocation);
    const QString samples = platform::programFolder() + QStringLiteral("/Samples");
    QStringList names;
    qsizetype position = 0;

    guard.step(100, [&] {
        // A missing Samples folder simply holds no samples.
        names = filesOfFolder(samples, QStringLiteral("*.*"));
    });
    if (guard.loopStart(102, [&] {
            position = 0;
            return position < names.size();
        })) {
        do {
            guard.step(104,
                       [&] { window.list().appendEntry(samples + QLatin1Char('/') + names.at(position)); });
        } while (guard.loopAdvance(104, [&] { return ++position < names.size(); }));
    }
    platform::MessageAnswer answer = platform::MessageAnswer::No;
    guard.step(106, [&] {
        answer = platform::dialogs().messageBox(window.window(), kQuestion, platform::applicationTitle(),
                                                platform::MessageButtons::YesNo, platform::MessageIcon::None);
    });
    if (answer == platform::MessageAnswer::No) return;
    guard.step(108, [&] {
        // Without a desktop opener (xdg-open) nothing would happen at all: say so, and where to look.
        if (platform::openWithShell(QUrl::fromLocalFile(samples + QLatin1Char('/')))) return;
        platform::dialogs().messageBox(window.window(), kNoOpener.arg(samples), platform::applicationTitle(),
                                       platform::MessageButtons::Ok, platform::MessageIcon::Warning);
    });
}

}  // namespace filelist
