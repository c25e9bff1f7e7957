// Marrowdale: one window; the command line is not read.
#include <QApplication>

#include "mainwindow/Form1.h"
#include "shared/LargeBuffers.h"

int main(int argc, char** argv) {
    shared::reuseLargeBuffers();
    QApplication app(argc, argv);
    mainwindow::Form1 form;
    form.Form_Load();
    form.showCentred();
    return QApplication::exec();
}
