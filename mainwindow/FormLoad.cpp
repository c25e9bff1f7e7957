// Start-up of the window, before it is first shown. Every step goes on after a reported failure,
// so the window is always shown.
#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include "conversion/IsInstalled.h"
#include "errorreport/StepGuard.h"
#include "fsutil/Main.h"
#include "mainwindow/ApplicationTitle.h"
#include "mainwindow/Form1.h"
#include "mainwindow/HomePage.h"
#include "mainwindow/Twips.h"
#include "platform/AppError.h"
#include "platform/CursorFile.h"
#include "platform/ProgramFolder.h"
#include "platform/Settings.h"
#include "resources/AppIcon.h"

namespace mainwindow {

namespace {
constexpr long kInvalidPicture = 481;
}

void Form1::Form_Load() {
    errorreport::StepGuard guard(QStringLiteral("in Tessary2017/04/05.Form1.Form_Load "));
    guard.step(102, [this] { applySkin(); });
    guard.step(104, [this] {
        setWindowTitle(kProductName);
        setWindowIcon(resources::applicationIcon());
        platform::setApplicationTitle(ApplicationTitleOf(kProductName));
    });
    const QString pointerFile = platform::programFolder() + QStringLiteral("/HAND-M.CUR");
    if (guard.test(106, [&] { return Main::FileExists(pointerFile); })) {
        guard.step(108, [&] {
            customPointer_ = platform::loadCursorFile(pointerFile);
            if (!customPointer_) throw platform::AppError(kInvalidPicture, QStringLiteral("Invalid picture"));
            showPointer();
        });
    }
    guard.step(110, [] { VisitHomePageSometimes(); });
    guard.step(128, [this] { ListView1->setHeaderLabel(QStringLiteral(" Word File(s)")); });
    guard.step(130, [this] { ListView1->setColumnWidth(0, pixels(7000)); });
    guard.step(132, [this] {
        // The default is computed first: when it cannot be, the stored folder is not shown either.
        const QString desktop = Main::DesktopFolderPath();
        Text1->setText(platform::storedOutputFolder().value_or(desktop));
    });
    guard.step(134, [] { IsInstalled::IsWordInstalled(); });
}

// The skin is switched on by the presence of its file; without it the designed white look stays.
void Form1::applySkin() {
    const QString skinFile = platform::programFolder() + QStringLiteral("/x/o.cjs");
    if (!QFileInfo(skinFile).isFile()) return;
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    for (QWidget* control : {static_cast<QWidget*>(this), static_cast<QWidget*>(Frame2)}) {
        QPalette palette = control->palette();
        palette.setColor(QPalette::Window, buttonFace);
        control->setPalette(palette);
    }
    QFile skin(skinFile);
    if (!skin.open(QIODevice::ReadOnly)) throw platform::AppError(platform::ErrorNumber::PathFileAccess);
    setStyleSheet(QString::fromUtf8(skin.readAll()));
}

}  // namespace mainwindow
