// With the skin on, the window can be worked with the keyboard alone: the control that has the
// focus must stand out from how it looks without it.
#include <QApplication>
#include <QImage>
#include <QTest>
#include <cmath>

#include "mainwindow/Form1.h"
#include "tests/mainwindow/WindowFixture.h"

namespace {

using mainwindow::Form1;

double luminance(QRgb pixel) {
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(pixel)) + 0.7152 * channel(qGreen(pixel)) + 0.0722 * channel(qBlue(pixel));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Pixels whose colour changed with the focus by a contrast of at least 3:1, the least a focus
// mark needs to be seen.
int clearlyChangedPixels(const QImage& before, const QImage& after) {
    int changed = 0;
    for (int y = 0; y < std::min(before.height(), after.height()); ++y)
        for (int x = 0; x < std::min(before.width(), after.width()); ++x)
            if (contrast(before.pixel(x, y), after.pixel(x, y)) >= 3.0) ++changed;
    return changed;
}

class FocusFrame : public testsupport::WindowTest {};

TEST_F(FocusFrame, EveryControlTheKeyboardReachesShowsAClearFrameWithTheSkin) {
    Form1 form;
    form.Form_Load();
    ASSERT_FALSE(form.styleSheet().isEmpty());
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    for (QWidget* control :
         std::vector<QWidget*>{form.ListView1, form.PushButton1, form.PushButton4, form.PushButton2,
                               form.PushButton3, form.PushButton5, form.Text1, form.PushButton6}) {
        QWidget* elsewhere = control == form.PushButton3 ? form.PushButton5 : form.PushButton3;
        elsewhere->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        ASSERT_FALSE(control->hasFocus());
        const QImage unfocused = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
        control->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        ASSERT_TRUE(control->hasFocus()) << control->objectName().toStdString();
        const QImage focused = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
        // About a frame of two pixels all around the control.
        const int ring = 2 * 2 * (control->width() + control->height());
        EXPECT_GE(clearlyChangedPixels(unfocused, focused), ring * 3 / 4)
            << control->objectName().toStdString();
    }
}

}  // namespace
