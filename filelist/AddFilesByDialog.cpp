#include "filelist/AddFilesByDialog.h"

#include <QStringList>

#include "errorreport/StepGuard.h"
#include "filelist/FileListView.h"
#include "filelist/ListWindow.h"
#include "filelist/TreeFileRules.h"
#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "platform/ProgramFolder.h"

namespace filelist {

namespace {
const QString kLocation = QStringLiteral("in Tessary2017/04/05.Form1.PushButton1_Click ");
const QString kTitle = QStringLiteral("Add File(s) - Use Ctrl & Shift to select multiple files");
const QString kFilter = QStringLiteral("Word Documents (*.do*)|*.do*|All Files (*.*)|*.*");

// The dialog's "name buffer too small" error: the selection did not fit. Qt's dialog has no such
// buffer, but a dialog that has one reports it with this number.
constexpr long kSelectionTooLarge = 20476;

void showTooManyFiles(QWidget* owner) {
    platform::dialogs().messageBox(
        owner,
        QStringLiteral("You've selected too many files to add.") + QStringLiteral("\r\r") +
            QStringLiteral("Please try adding via the \"Add All\" button."),
        platform::applicationTitle(), platform::MessageButtons::Ok, platform::MessageIcon::None);
}
}  // namespace

void PushButton1_Click(ListWindow& window) {
    errorreport::StepGuard guard(kLocation);
    QString fileName;
    QString title;
    QString filter;
    QStringList parts;
    QString path;
    qsizetype first = 0;
    qsizetype last = -1;
    qsizetype part = 0;

    guard.step(100, [&] { fileName.clear(); });
    // 102: the dialog's flags (read-only box ticked, several files, long names) are the Qt dialog's own.
    guard.step(104, [&] { title = kTitle; });
    guard.step(106, [&] { filter = kFilter; });
    bool tooMany = false;
    guard.step(108, [&] {
        try {
            fileName = platform::dialogs().openFiles(window.window(), title, filter);
        } catch (const platform::AppError& error) {
            if (error.number() != kSelectionTooLarge) throw;
            tooMany = true;
        }
    });
    if (tooMany) {
        showTooManyFiles(window.window());
        return;
    }
    if (guard.test(110, [&] { return fileName.isEmpty(); })) return;
    guard.step(112, [&] { parts = fileName.split(QChar(u'\0')); });
    if (guard.test(114, [&] { return parts.size() - 1 == 0; })) {
        guard.step(116, [&] { path = parts.at(0); });
        guard.step(118, [&] { window.list().appendEntry(path); });
        return;
    }
    if (guard.test(120, [&] { return !(parts.size() - 1 > 0); })) return;
    guard.step(122, [&] { first = 1; });
    guard.step(124, [&] { last = parts.size() - 1; });
    if (guard.loopStart(126, [&] {
            part = first;
            return part <= last;
        })) {
        do {
            guard.step(128, [&] { path = parts.at(0) + QLatin1Char('/') + parts.at(part); });
            guard.step(130, [&] { path = collapseDoubledSeparators(path); });
            guard.step(132, [&] { window.list().appendEntry(path); });
        } while (guard.loopAdvance(134, [&] { return ++part <= last; }));
    }
}

}  // namespace filelist
