// The window as designed: controls, places, fonts, tab order, frame; and what it offers the
// conversion. The places are the design's twips, 15 to a pixel.
#include "mainwindow/Form1.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

#include "mainwindow/Twips.h"
#include "platform/CloseRequests.h"
#include "platform/ProgramExit.h"

namespace mainwindow {

namespace {
void place(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(pixels(left), pixels(top), pixels(width), pixels(height));
}

QFont arialBold(qreal points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent) {
    auto* control = new QPushButton(caption, parent);
    control->setObjectName(QLatin1String(name));
    control->setAutoDefault(false);
    return control;
}

void paintBackground(QWidget* control, const QColor& colour) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, colour);
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}
}  // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ListView1(new filelist::FileListView(this)),
      Creator(new RenderSurface(this)),
      ProgressBar1(new ProgressBar(this)),
      PushButton1(button("PushButton1", QStringLiteral("Add Word File(s)"), this)),
      PushButton4(button("PushButton4", QStringLiteral("Add All Word Files In Folder"), this)),
      PushButton2(button("PushButton2", QStringLiteral("Start Saving As PCX"), this)),
      PushButton3(button("PushButton3", QStringLiteral("Clear List"), this)),
      PushButton5(button("PushButton5", QStringLiteral("Load Sample/Example Files"), this)),
      Frame2(new QGroupBox(QStringLiteral("Save Results To This Folder"), this)),
      Text1(new QLineEdit(Frame2)),
      PushButton6(button("PushButton6", QStringLiteral("..."), Frame2)) {
    setObjectName(QStringLiteral("Form1"));
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Text1->setObjectName(QStringLiteral("Text1"));
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));

    setFixedSize(pixels(8040), pixels(5730));
    setFont(arialBold(9));

    place(ListView1, 120, 120, 7800, 2535);
    place(Creator, 0, 6180, 615, 465);  // below the client area: never seen
    place(ProgressBar1, 120, 5205, 7800, 405);
    place(PushButton1, 120, 2750, 3840, 405);
    place(PushButton4, 4080, 2750, 3840, 405);
    place(PushButton2, 120, 4695, 7800, 405);
    place(PushButton3, 120, 3260, 3840, 405);
    place(PushButton5, 4080, 3260, 3840, 405);
    place(Frame2, 120, 3750, 7800, 820);
    place(Text1, 240, 300, 6600, 345);  // inside the frame
    place(PushButton6, 6960, 300, 600, 345);

    ListView1->setFont(arialBold(9));
    for (QPushButton* control :
         {PushButton1, PushButton2, PushButton3, PushButton4, PushButton5, PushButton6}) {
        control->setFont(arialBold(11.25));
    }

    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(true);
    ProgressBar1->setAlignment(Qt::AlignCenter);
    ProgressBar1->setFormat(QStringLiteral("Progress Bar"));

    QWidget* const tabOrder[] = {ListView1,   Creator,     ProgressBar1, PushButton1,
                                 PushButton4, PushButton2, PushButton3,  PushButton5,
                                 Frame2,      Text1,       PushButton6};
    for (std::size_t i = 0; i + 1 < std::size(tabOrder); ++i) setTabOrder(tabOrder[i], tabOrder[i + 1]);

    designLook();
    connectEvents();
}

void Form1::designLook() {
    paintBackground(this, Qt::white);
    paintBackground(Frame2, Qt::white);
    QPalette textPalette = Text1->palette();
    textPalette.setColor(QPalette::Base, Qt::white);
    Text1->setPalette(textPalette);
}

void Form1::showCentred() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
    }
    show();
    // With a box up, Qt would drop the window manager's close request: it still ends the program.
    platform::onCloseRequest(windowHandle(), [] { platform::endProgramAtOnce(); });
}

void Form1::closeEvent(QCloseEvent* event) {
    // Closing ends the program at once, also in the middle of a run that is yielding inside
    // nested event loops: nothing of the run may go on afterwards.
    event->accept();
    platform::endProgramAtOnce();
}

QString Form1::outputFolderText() const { return Text1->text(); }

void Form1::setProgressText(const QString& text) { ProgressBar1->setFormat(text); }

void Form1::setRenderPicture(const QImage& picture) { Creator->setPicture(picture); }

QImage Form1::renderImage() const { return Creator->image(); }

}  // namespace mainwindow
