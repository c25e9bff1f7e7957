// Which procedure each control's events run, and the "Clear List" button.
#include "errorreport/StepGuard.h"
#include "filelist/AddFilesByDialog.h"
#include "filelist/AddFolderFiles.h"
#include "filelist/DropTarget.h"
#include "filelist/ListReorder.h"
#include "filelist/SampleFiles.h"
#include "mainwindow/Form1.h"

namespace mainwindow {

void Form1::connectEvents() {
    connect(PushButton1, &QPushButton::clicked, this, [this] { filelist::PushButton1_Click(*this); });
    connect(PushButton4, &QPushButton::clicked, this, [this] { filelist::PushButton4_Click(*this); });
    connect(PushButton5, &QPushButton::clicked, this, [this] { filelist::PushButton5_Click(*this); });
    connect(PushButton2, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
    connect(PushButton3, &QPushButton::clicked, this, [this] { PushButton3_Click(); });
    connect(PushButton6, &QPushButton::clicked, this, [this] { PushButton6_Click(); });
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });

    ListView1->setBusyTest([this] { return busy(); });
    filelist::DropTarget::install(*this);
    filelist::ListReorder::install(*this);

    // Hover: mouse moves without a button held must reach the window, the frame and the buttons.
    setMouseTracking(true);
    Frame2->setMouseTracking(true);
    Frame2->installEventFilter(this);
    for (QPushButton* control :
         {PushButton1, PushButton2, PushButton3, PushButton4, PushButton5, PushButton6}) {
        control->setMouseTracking(true);
        control->installEventFilter(this);
    }
}

void Form1::PushButton3_Click() {
    errorreport::StepGuard guard(QStringLiteral("in Tessary2017/04/05.Form1.PushButton3_Click "));
    guard.step(100, [this] { ListView1->clear(); });
}

}  // namespace mainwindow
