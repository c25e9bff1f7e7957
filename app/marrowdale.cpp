// Marrowdale: one window; the command line is not read.
#include <QApplication>

#include "mainwindow/Form1.h"
#include "platform/LargeBuffers.h"

int main(int argc, char** argv) {
    platform::reuseLargeBuffers();
    QApplication app(argc, argv);
    mainwindow::Form1 form;
    form.Form_Load();
    form.showCentred();
    return QApplication::exec();
}
