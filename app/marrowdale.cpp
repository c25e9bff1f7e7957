// Marrowdale: one window; the command line is not read.
#include <QApplication>

#include "mainwindow/Form1.h"
#include "platform/QtDialogs.h"
#include "platform/Services.h"
#include "shared/LargeBuffers.h"

int main(int argc, char** argv) {
    shared::restartWithHugePageHeap(argv);
    shared::reuseLargeBuffers();
    QApplication app(argc, argv);
    platform::QtDialogs qtDialogs;
    const platform::services::Override<platform::Dialogs> boxes(&qtDialogs);
    mainwindow::Form1 form;
    form.Form_Load();
    form.showCentred();
    return QApplication::exec();
}
