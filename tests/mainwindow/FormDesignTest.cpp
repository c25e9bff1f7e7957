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

// Whether `a` lies wholly above `b`, with room between them.
bool above(const QRect& a, const QRect& b) { return a.bottom() < b.top(); }

// On one row: the same top and height, `left` before `right` without touching.
void expectSideBySide(const QWidget* left, const QWidget* right) {
    SCOPED_TRACE(left->objectName().toStdString() + " beside " + right->objectName().toStdString());
    EXPECT_EQ(left->geometry().top(), right->geometry().top());
    EXPECT_EQ(left->height(), right->height());
    EXPECT_LT(left->geometry().right(), right->geometry().left());
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

TEST_F(FormDesign, EveryControlIsInsideTheWindowAndNoneCoversAnother) {
    Form1 form;
    form.Form_Load();
    const QImage picture = screenshot(form, QStringLiteral("form1-skin"));
    EXPECT_EQ(form.size(), QSize(536, 382));
    EXPECT_EQ(picture.size(), QSize(536, 382));
    const std::vector<QWidget*> onTheForm{form.ListView1,   form.PushButton1, form.PushButton4,
                                          form.PushButton3, form.PushButton5, form.Frame2,
                                          form.PushButton2, form.ProgressBar1};
    for (std::size_t i = 0; i < onTheForm.size(); ++i) {
        SCOPED_TRACE(onTheForm[i]->objectName().toStdString());
        EXPECT_EQ(onTheForm[i]->parentWidget(), &form);
        EXPECT_TRUE(onTheForm[i]->isVisible());
        EXPECT_TRUE(form.rect().contains(onTheForm[i]->geometry()));
        for (std::size_t j = i + 1; j < onTheForm.size(); ++j) {
            EXPECT_FALSE(onTheForm[i]->geometry().intersects(onTheForm[j]->geometry()))
                << "covers " << onTheForm[j]->objectName().toStdString();
        }
    }
    for (QWidget* inFrame : {static_cast<QWidget*>(form.Text1), static_cast<QWidget*>(form.PushButton6)}) {
        SCOPED_TRACE(inFrame->objectName().toStdString());
        EXPECT_EQ(inFrame->parentWidget(), form.Frame2);
        EXPECT_TRUE(form.Frame2->rect().contains(inFrame->geometry()));
    }
    EXPECT_FALSE(form.Text1->geometry().intersects(form.PushButton6->geometry()));
    // The render surface lies below the client area.
    EXPECT_FALSE(form.rect().intersects(form.Creator->geometry()));
}

TEST_F(FormDesign, TheListThenTwoRowsOfButtonsThenTheFolderThenStartAndProgress) {
    Form1 form;
    form.Form_Load();
    form.show();
    expectSideBySide(form.PushButton1, form.PushButton4);
    expectSideBySide(form.PushButton3, form.PushButton5);
    expectSideBySide(form.Text1, form.PushButton6);
    EXPECT_EQ(form.PushButton1->geometry().left(), form.PushButton3->geometry().left());
    EXPECT_EQ(form.PushButton4->geometry().right(), form.PushButton5->geometry().right());
    const QWidget* column[] = {form.ListView1, form.PushButton1, form.PushButton3,
                               form.Frame2,    form.PushButton2, form.ProgressBar1};
    for (std::size_t i = 0; i + 1 < std::size(column); ++i) {
        SCOPED_TRACE(column[i]->objectName().toStdString());
        EXPECT_TRUE(above(column[i]->geometry(), column[i + 1]->geometry()));
    }
    // The list, the folder, Start and the progress bar span the width of the two button columns.
    for (const QWidget* wide :
         {static_cast<const QWidget*>(form.ListView1), static_cast<const QWidget*>(form.Frame2),
          static_cast<const QWidget*>(form.PushButton2), static_cast<const QWidget*>(form.ProgressBar1)}) {
        SCOPED_TRACE(wide->objectName().toStdString());
        EXPECT_EQ(wide->geometry().left(), form.PushButton1->geometry().left());
        EXPECT_EQ(wide->geometry().right(), form.PushButton4->geometry().right());
    }
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
