// The window's pointer, which is also the busy flag, and the hover rules that set it.
#include <QMouseEvent>

#include "mainwindow/Form1.h"

namespace mainwindow {

void Form1::setMousePointer(int code) {
    pointer_ = code;
    showPointer();
}

void Form1::showPointer() {
    switch (pointer_) {
        case kPointerHourglass:
            setCursor(Qt::WaitCursor);
            break;
        case kPointerCustom:
            if (customPointer_) {
                setCursor(*customPointer_);
            } else {
                unsetCursor();  // without "HAND-M.CUR" the hand is the plain arrow
            }
            break;
        default:
            unsetCursor();
            break;
    }
}

// Over the window's own background: the arrow, unless busy. Moves over a child control that does
// not take them arrive here too, and are not the background's.
void Form1::mouseMoveEvent(QMouseEvent* event) {
    if (childAt(event->position().toPoint()) == nullptr && !busy()) {
        setMousePointer(kPointerDefault);
    }
    QWidget::mouseMoveEvent(event);
}

// Over a push button: the hand; over the frame's own background: the arrow; never while busy.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove && !busy()) {
        if (watched == Frame2) {
            const auto* move = static_cast<QMouseEvent*>(event);
            if (Frame2->childAt(move->position().toPoint()) == nullptr) setMousePointer(kPointerDefault);
        } else if (qobject_cast<QPushButton*>(watched) != nullptr) {
            setMousePointer(kPointerCustom);
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace mainwindow
