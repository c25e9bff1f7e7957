// The pointer follows the mouse: the hand over the buttons, the arrow over the window's and the
// frame's background, and the hourglass of a busy window is never replaced.
#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "mainwindow/Form1.h"
#include "platform/Services.h"
#include "tests/mainwindow/WindowFixture.h"

namespace {

using mainwindow::Form1;

// A mouse move without a button held, delivered the way the window system delivers it.
void moveOver(QWidget* widget, QPoint position) {
    QMouseEvent move(QEvent::MouseMove, QPointF(position), QPointF(widget->mapToGlobal(position)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void moveOver(QWidget* widget) { moveOver(widget, widget->rect().center()); }

class Hover : public testsupport::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        form = std::make_unique<Form1>();
        form->Form_Load();
        form->show();
    }
    std::vector<QWidget*> buttons() const {
        return {form->PushButton1, form->PushButton2, form->PushButton3,
                form->PushButton4, form->PushButton5, form->PushButton6};
    }
    QPoint frameBackground() const { return {4, form->Frame2->height() - 6}; }
    std::unique_ptr<Form1> form;
};

TEST_F(Hover, ButtonsShowTheHandAndBackgroundsTheArrow) {
    for (QWidget* button : buttons()) {
        SCOPED_TRACE(button->objectName().toStdString());
        moveOver(form.get(), QPoint(2, 2));
        EXPECT_EQ(form->mousePointer(), 0);
        moveOver(button);
        EXPECT_EQ(form->mousePointer(), 99);
        moveOver(form->Frame2, frameBackground());
        EXPECT_EQ(form->mousePointer(), 0);
    }
}

TEST_F(Hover, ControlsWithoutHoverLeaveThePointerAsItIs) {
    moveOver(form->PushButton2);
    for (QWidget* quiet : {static_cast<QWidget*>(form->ProgressBar1), static_cast<QWidget*>(form->Text1)}) {
        moveOver(quiet);
        EXPECT_EQ(form->mousePointer(), 99) << quiet->objectName().toStdString();
    }
}

TEST_F(Hover, TheHourglassIsNeverReplaced) {
    form->setMousePointer(11);
    for (QWidget* button : buttons()) moveOver(button);
    moveOver(form.get(), QPoint(2, 2));
    moveOver(form->Frame2, frameBackground());
    EXPECT_EQ(form->mousePointer(), 11);
    EXPECT_EQ(form->cursor().shape(), Qt::WaitCursor);
}

TEST_F(Hover, TheHandIsTheCursorFileOrTheArrowWithoutIt) {
    form->setMousePointer(99);
    EXPECT_EQ(form->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(form->cursor().hotSpot(), QPoint(12, 1));
    form->setMousePointer(0);
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);

    QTemporaryDir withoutPointer;
    const platform::services::Override<platform::ProgramFolderService> programFolderInUse(
        withoutPointer.path());
    Form1 plain;
    plain.Form_Load();
    moveOver(plain.PushButton1);
    EXPECT_EQ(plain.mousePointer(), 99);
    EXPECT_EQ(plain.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Hover, TheListsRemovalWaitsForTheHourglass) {
    form->ListView1->appendEntry(QStringLiteral("/docs/a.docx"));
    form->ListView1->setCurrentItem(form->ListView1->topLevelItem(0));
    form->setMousePointer(11);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(form->ListView1, &del);
    EXPECT_EQ(form->ListView1->entryCount(), 1);
    form->PushButton3->click();  // "Clear List" does not wait
    EXPECT_EQ(form->ListView1->entryCount(), 0);
    EXPECT_TRUE(dialogs.errorReports().empty());
}

}  // namespace
