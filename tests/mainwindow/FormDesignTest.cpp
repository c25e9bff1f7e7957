// The window as designed: every control's place in twips (15 to a pixel), fonts, tab order,
// frame, and a picture of it saved for people to look at.
#include <QDir>
#include <QFontInfo>
#include <QTemporaryDir>

#include "mainwindow/Form1.h"
#include "platform/Services.h"
#include "tests/mainwindow/WindowFixture.h"

namespace {

using mainwindow::Form1;

struct Designed {
    const char* name;
    int left, top, width, height;  // twips; inside the frame for Text1 and PushButton6
};

const Designed kDesign[] = {
    {"ListView1", 120, 120, 7800, 2535},    {"Creator", 0, 6180, 615, 465},
    {"ProgressBar1", 120, 5205, 7800, 405}, {"PushButton1", 120, 2750, 3840, 405},
    {"PushButton4", 4080, 2750, 3840, 405}, {"PushButton2", 120, 4695, 7800, 405},
    {"PushButton3", 120, 3260, 3840, 405},  {"PushButton5", 4080, 3260, 3840, 405},
    {"Frame2", 120, 3750, 7800, 820},       {"Text1", 240, 300, 6600, 345},
    {"PushButton6", 6960, 300, 600, 345},
};

int px(int twips) { return qRound(twips / 15.0); }

QRect designedRect(const Designed& control) {
    return {px(control.left), px(control.top), px(control.width), px(control.height)};
}

class FormDesign : public testsupport::WindowTest {
  protected:
    // Renders the window offscreen and saves the picture under the build folder.
    QImage screenshot(Form1& form, const QString& name) {
        form.show();
        const QImage picture = form.grab().toImage();
        QDir().mkpath(QStringLiteral(MARROWDALE_SCREENSHOT_DIR));
        picture.save(QStringLiteral(MARROWDALE_SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
        return picture;
    }
};

TEST_F(FormDesign, EveryControlStandsWhereTheDesignPutsIt) {
    Form1 form;
    form.Form_Load();
    const QImage picture = screenshot(form, QStringLiteral("form1-skin"));
    EXPECT_EQ(form.size(), QSize(536, 382));
    EXPECT_EQ(picture.size(), QSize(536, 382));
    for (const Designed& control : kDesign) {
        SCOPED_TRACE(control.name);
        const auto* widget = form.findChild<QWidget*>(QLatin1String(control.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), designedRect(control));
        const bool inFrame = QLatin1String(control.name) == QLatin1String("Text1") ||
                             QLatin1String(control.name) == QLatin1String("PushButton6");
        EXPECT_EQ(widget->parentWidget(), inFrame ? static_cast<QWidget*>(form.Frame2) : &form);
    }
    // The render surface lies below the client area.
    EXPECT_FALSE(form.rect().intersects(form.Creator->geometry()));
}

TEST_F(FormDesign, CaptionsAndTheProgressBarAtRest) {
    Form1 form;
    form.Form_Load();
    EXPECT_EQ(form.PushButton1->text(), QStringLiteral("Add Word File(s)"));
    EXPECT_EQ(form.PushButton2->text(), QStringLiteral("Start Saving As PCX"));
    EXPECT_EQ(form.PushButton3->text(), QStringLiteral("Clear List"));
    EXPECT_EQ(form.PushButton4->text(), QStringLiteral("Add All Word Files In Folder"));
    EXPECT_EQ(form.PushButton5->text(), QStringLiteral("Load Sample/Example Files"));
    EXPECT_EQ(form.PushButton6->text(), QStringLiteral("..."));
    EXPECT_EQ(form.Frame2->title(), QStringLiteral("Save Results To This Folder"));
    EXPECT_EQ(form.ProgressBar1->minimum(), 0);
    EXPECT_EQ(form.ProgressBar1->maximum(), 100);
    EXPECT_EQ(form.ProgressBar1->value(), 0);
    EXPECT_TRUE(form.ProgressBar1->isTextVisible());
    EXPECT_EQ(form.ProgressBar1->text(), QStringLiteral("Progress Bar"));
    // A file name is shown as it is, percent signs and all.
    form.setProgressText(QStringLiteral("Processing: 50%plan %v%m.docx"));
    EXPECT_EQ(form.ProgressBar1->text(), QStringLiteral("Processing: 50%plan %v%m.docx"));
}

TEST_F(FormDesign, FontsAreArialBold) {
    Form1 form;
    const auto expectFont = [](const QWidget* widget, qreal points) {
        SCOPED_TRACE(widget->objectName().toStdString());
        EXPECT_EQ(widget->font().family(), QStringLiteral("Arial"));
        EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), points);
        EXPECT_TRUE(widget->font().bold());
        // Arial itself or its metric twin is what gets drawn.
        const QString drawn = QFontInfo(widget->font()).family();
        EXPECT_TRUE(drawn == QStringLiteral("Arial") || drawn == QStringLiteral("Liberation Sans"))
            << drawn.toStdString();
    };
    expectFont(&form, 9);
    expectFont(form.ListView1, 9);
    expectFont(form.Text1, 9);
    for (const QWidget* button : {form.PushButton1, form.PushButton2, form.PushButton3, form.PushButton4,
                                  form.PushButton5, form.PushButton6}) {
        expectFont(button, 11.25);
    }
}

TEST_F(FormDesign, TabGoesThroughTheControlsInDesignOrder) {
    Form1 form;
    form.show();
    const std::vector<QWidget*> expected{form.ListView1,   form.PushButton1, form.PushButton4,
                                         form.PushButton2, form.PushButton3, form.PushButton5,
                                         form.Text1,       form.PushButton6};
    form.ListView1->setFocus();
    for (std::size_t i = 1; i <= expected.size(); ++i) {
        QWidget* next = form.focusWidget()->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus) || !next->isVisibleTo(&form))
            next = next->nextInFocusChain();
        EXPECT_EQ(next, expected[i % expected.size()])
            << "after " << form.focusWidget()->objectName().toStdString();
        next->setFocus();
    }
}

TEST_F(FormDesign, AFixedWindowWithAMinimiseButtonOnly) {
    Form1 form;
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(form.isWindow());
}

TEST_F(FormDesign, WithoutTheSkinTheWindowIsWhite) {
    QTemporaryDir emptyProgramFolder;
    const platform::services::Override<platform::ProgramFolderService> programFolderInUse(
        emptyProgramFolder.path());
    Form1 form;
    form.Form_Load();
    const QImage picture = screenshot(form, QStringLiteral("form1-plain"));
    EXPECT_EQ(picture.pixelColor(2, 2), QColor(Qt::white));  // window background
    EXPECT_EQ(picture.pixelColor(8 + 400, 250 + 3),
              QColor(Qt::white));  // the frame's own, beside its caption
}

TEST_F(FormDesign, TheRenderSurfaceGivesTheWholePicture) {
    Form1 form;
    QImage blank = form.renderImage();
    EXPECT_EQ(blank.size(), QSize(41, 31));  // nothing loaded yet: the empty surface
    QImage page(1275, 1650, QImage::Format_RGB32);
    page.fill(Qt::blue);
    form.setRenderPicture(page);
    const QImage image = form.renderImage();
    EXPECT_EQ(image.size(), QSize(1275, 1650));
    EXPECT_EQ(image.pixelColor(1274, 1649), QColor(Qt::blue));
}

}  // namespace
