#include "mainwindow/Form1.h"

namespace mainwindow {

void Form1::PushButton2_Click() {
    // The batch run over the list: not written yet.
}

}  // namespace mainwindow
