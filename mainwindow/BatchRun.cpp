// "Start Saving As PCX": the checks, then every document of the list in order, then "Done.".
#include "mainwindow/BatchRun.h"

#include <cmath>

#include "conversion/Word1.h"
#include "errorreport/StepGuard.h"
#include "fsutil/Main.h"
#include "mainwindow/Form1.h"
#include "platform/AppError.h"
#include "platform/BandedImage.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "platform/ProgramFolder.h"
#include "platform/Services.h"
#include "wordclient/WordApplication.h"

namespace mainwindow {

namespace {

void convert(Word1::ConversionWindow& window, const QString& path, const Word1::ConversionObserver& observer,
             const QString& documentAfterThis) {
    if (const DocumentConverter converter = platform::services::get<DocumentConverterService>()) {
        converter(window, path, documentAfterThis);
    } else {
        Word1::SaveDocAsPCX(window, path, observer, documentAfterThis);
    }
}

void tell(QWidget* owner, const QString& text) {
    platform::dialogs().messageBox(owner, text, platform::applicationTitle(), platform::MessageButtons::Ok,
                                   platform::MessageIcon::None);
}

// The run is busy from the press on: the hourglass shows before the yield of step 100, so a
// second press let through there (a double-click) finds the run going. A run that ends at one of
// its checks puts back the pointer it found.
class BusyFromThePress {
  public:
    explicit BusyFromThePress(Form1& form) : form_(form), found_(form.mousePointer()) {
        form_.setMousePointer(kPointerHourglass);
    }
    ~BusyFromThePress() {
        if (!converting_) form_.setMousePointer(found_);
    }
    BusyFromThePress(const BusyFromThePress&) = delete;
    BusyFromThePress& operator=(const BusyFromThePress&) = delete;

    // The documents are being converted: from now on the run sets the pointer itself.
    void converting() { converting_ = true; }

  private:
    Form1& form_;
    const int found_;
    bool converting_ = false;
};

}  // namespace

void Form1::PushButton2_Click() {
    // A press while the window is busy (a run, or the folder adder) does nothing: two runs would
    // share the converter file, the clipboard and the file names.
    if (busy()) return;
    BusyFromThePress busyFromThePress(*this);
    errorreport::StepGuard guard(QStringLiteral("in Tessary2017/04/05.Form1.PushButton2_Click "));

    guard.step(100, [] { platform::yieldToEventLoop(); });
    if (guard.test(102, [&] { return ListView1->entryCount() == 0; })) {
        guard.step(102, [&] { tell(this, QStringLiteral("No files added.")); });
        return;
    }
    if (guard.test(104, [&] { return !Main::IsFolder(Text1->text()); })) {
        guard.step(
            104, [&] { tell(this, QStringLiteral("Folder does not exist. Please select another folder.")); });
        return;
    }
    if (guard.test(106, [&] { return Word1::ConfirmWordNotRunning(this); })) return;
    busyFromThePress.converting();

    // The bound is fixed when the loop starts; a list of any length is converted whole.
    qsizetype bound = 0;
    qsizetype i = 1;
    bool again = guard.loopStart(108, [&] {
        bound = ListView1->entryCount();
        return i <= bound;
    });
    while (again) {
        guard.step(110, [&] { setMousePointer(kPointerHourglass); });
        guard.step(112, [] { platform::yieldToEventLoop(); });
        guard.step(114, [&] {
            const qsizetype n = ListView1->entryCount();
            if (n == 0) throw platform::AppError(11, QStringLiteral("Division by zero"));
            ProgressBar1->setValue(static_cast<int>(std::lround(double(i) / double(n) * 100.0)));
        });
        QString path;
        // An entry that is gone (the list was emptied meanwhile) is reported and its pass skipped.
        if (guard.step(116, [&] { path = ListView1->entryText(int(i)); })) {
            guard.step(118,
                       [&] { setProgressText(QStringLiteral("Processing: ") + Main::FileNameOfPath(path)); });
            guard.step(120, [] { platform::yieldToEventLoop(); });
            // The entry after this one, as the list holds it now: a spare engine may read it
            // ahead. What is converted in its turn is what the list holds then.
            const QString next = i < ListView1->entryCount() ? ListView1->entryText(int(i + 1)) : QString();
            guard.step(122, [&] { convert(*this, path, conversionObserver_, next); });
        }
        again = guard.loopAdvance(124, [&] { return ++i <= bound; });
    }
    wordclient::wordFactory().readAhead(QString());  // the run is over: no engine is kept for reading ahead
    platform::releaseSpareMemory();                  // nor the pages' memory kept for the next pages
    guard.step(126, [&] { setMousePointer(kPointerDefault); });
    guard.step(128, [&] { ProgressBar1->setValue(0); });
    guard.step(130, [&] { setProgressText(QStringLiteral("Progress Bar")); });
    guard.step(138, [&] { tell(this, QStringLiteral("Done.")); });
}

}  // namespace mainwindow
