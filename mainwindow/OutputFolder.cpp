// The output folder: the text of Text1, stored on every change and picked with the folder browser.
#include "errorreport/StepGuard.h"
#include "fsutil/AddFolder.h"
#include "mainwindow/Form1.h"
#include "platform/Settings.h"

namespace mainwindow {

void Form1::Text1_Change() { platform::storeOutputFolder(Text1->text()); }

void Form1::PushButton6_Click() {
    errorreport::StepGuard guard(QStringLiteral("in Tessary2017/04/05.Form1.PushButton6_Click "));
    QString chosen;
    guard.step(100,
               [&] { chosen = AddFolder::BrowseForFolder(this, QStringLiteral("Please select folder:")); });
    if (guard.test(102, [&] { return chosen.isEmpty(); })) return;
    // The conversion puts file names right after this text, so it must end in "/".
    if (guard.test(104, [&] { return !chosen.endsWith(QLatin1Char('/')); })) {
        guard.step(106, [&] { Text1->setText(chosen + QLatin1Char('/')); });
    } else {
        guard.step(108, [&] { Text1->setText(chosen); });
    }
}

}  // namespace mainwindow
