// Test helper: the program's window on a real X display, in the middle of a run that shows an
// error box (no engine can be started). Prints the window's X id once the box is up, then waits
// for the window to be closed; exits 4 when it was not ended within 30 s.
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "mainwindow/Form1.h"
#include "platform/QtDialogs.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "tests/support/FakeWord.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::QtDialogs qtDialogs;
    const platform::services::Override<platform::Dialogs> boxes(&qtDialogs);
    const platform::services::Override<platform::UrlOpenerService> noBrowser(
        [](const QUrl&) { return true; });
    testsupport::FakeWord word;
    mainwindow::Form1 form;
    form.Form_Load();
    word.createFails = true;  // the run's engine cannot start: step 130 shows "Application Error"
    form.Text1->setText(QDir::tempPath() + QLatin1Char('/'));
    form.ListView1->appendEntry(QDir::tempPath() + QStringLiteral("/report.docx"));
    form.showCentred();

    QTimer::singleShot(0, &form, [&form] { form.PushButton2_Click(); });
    QTimer boxUp;
    QObject::connect(&boxUp, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() == nullptr) return;
        boxUp.stop();
        std::printf("%llu\n", static_cast<unsigned long long>(form.winId()));
        std::fflush(stdout);
    });
    boxUp.start(50);
    QTimer::singleShot(30000, [] { std::_Exit(4); });
    return QApplication::exec();
}
