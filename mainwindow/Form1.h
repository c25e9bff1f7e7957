#pragma once

#include <QCursor>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <optional>

#include "conversion/ConversionWindow.h"
#include "conversion/Word1.h"
#include "filelist/FileListView.h"
#include "filelist/ListWindow.h"
#include "mainwindow/ProgressBar.h"
#include "mainwindow/RenderSurface.h"
#include "platform/MousePointer.h"

namespace mainwindow {

inline const QString kProductName = QStringLiteral("Marrowdale");

using platform::kPointerCustom;
using platform::kPointerDefault;
using platform::kPointerHourglass;

// The program's one window. Its controls keep their designed names; their event procedures are
// members named after them, spread over the files of mainwindow/ by job.
class Form1 : public QWidget, public Word1::ConversionWindow, public filelist::ListWindow {
    Q_OBJECT
  public:
    explicit Form1(QWidget* parent = nullptr);

    // The controls, as designed. Frame2 holds Text1 and PushButton6.
    filelist::FileListView* const ListView1;
    RenderSurface* const Creator;
    ProgressBar* const ProgressBar1;
    QPushButton* const PushButton1;  // "Add Word File(s)"
    QPushButton* const PushButton4;  // "Add All Word Files In Folder"
    QPushButton* const PushButton2;  // "Start Saving As PCX"
    QPushButton* const PushButton3;  // "Clear List"
    QPushButton* const PushButton5;  // "Load Sample/Example Files"
    QGroupBox* const Frame2;         // "Save Results To This Folder"
    QLineEdit* const Text1;          // the output folder
    QPushButton* const PushButton6;  // "..."

    // Start-up: skin, caption, title, pointer, list column, output folder, engine check.
    void Form_Load();
    // First showing, centred on the screen.
    void showCentred();

    void PushButton2_Click();  // the batch run
    void PushButton3_Click();  // "Clear List"
    void PushButton6_Click();  // choose the output folder
    void Text1_Change();       // stores the output folder

    // Told after every document the run converts (the batch driver prints it).
    void setConversionObserver(Word1::ConversionObserver observer) {
        conversionObserver_ = std::move(observer);
    }

    // The window's pointer: 0 arrow, 11 hourglass (busy), 99 the hand of "HAND-M.CUR".
    int mousePointer() const override { return pointer_; }
    void setMousePointer(int code) override;
    // The program's one busy flag is the hourglass: a run or the folder adder is at work.
    bool busy() const { return pointer_ == kPointerHourglass; }
    bool hasCustomPointer() const { return customPointer_.has_value(); }

    // What the conversion uses of the window.
    QString outputFolderText() const override;
    void setProgressText(const QString& text) override;
    void setRenderPicture(const QImage& picture) override;
    QImage renderImage() const override;

    // What the list's adders use of the window.
    using QWidget::window;
    QWidget* window() override { return this; }
    filelist::FileListView& list() override { return *ListView1; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void designLook();
    void connectEvents();
    void applySkin();
    void showPointer();

    int pointer_ = kPointerDefault;
    std::optional<QCursor> customPointer_;
    Word1::ConversionObserver conversionObserver_;
};

}  // namespace mainwindow
