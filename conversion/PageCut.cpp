// Steps 196 to 224: the selected page is cut, its picture saved and handed to the worker for its
// JPEG and converter, and finished once the next page is cut.
#include <QImage>
#include <exception>

#include "conversion/ClipboardKeeper.h"
#include "conversion/ClipboardTurn.h"
#include "conversion/DocumentRun.h"
#include "conversion/PagePictureFile.h"
#include "conversion/SaveAsJPG.h"
#include "conversion/Shell32.h"
#include "fsutil/Main.h"
#include "platform/EventLoop.h"

namespace Word1 {

namespace {

// Steps 196 and 198, within the clipboard turn.
void cutPage(DocumentRun& run, ClipboardKeeper& clipboard) {
    errorreport::StepGuard& guard = run.guard;
    {
        // Another copy of the program may be cutting its page at the same moment; no box is
        // shown while the turn is held, so the other copies never wait on the user.
        const ClipboardTurn turn;
        guard.holdReports(true);
        // Only a picture cut for this very page may become its image: never the previous page's.
        clipboard.clearForNextPicture();
        if (guard.test(196, [&] { return run.engine().selectionText().size() > 0; })) {
            guard.step(198, [&] { run.engine().selectionCut(); });
        }
        clipboard.takePagePicture();
    }
    guard.holdReports(run.previous != nullptr);
    if (!run.previous) guard.reportHeldFailures();
}

}  // namespace

void cutAndSavePicture(DocumentRun& run, PageInFlight& page, ClipboardKeeper& clipboard) {
    errorreport::StepGuard& guard = run.guard;
    cutPage(run, clipboard);
    guard.step(200, [&] { Main::DeleteFileQuietly(page.pcx); });
    // A step whose input is missing is not tried: the page has already been reported once.
    run.window.setRenderPicture(QImage());
    const bool pictureSaved = guard.step(202, [&] { savePagePicture(clipboard.pagePicture(), page.bmp); });
    const bool pictureLoaded =
        pictureSaved && guard.step(204, [&] { run.window.setRenderPicture(loadPagePicture(page.bmp)); });
    QString arguments;
    guard.step(208, [&] {
        arguments = QStringLiteral("-out pcx -c 1 -o ") + Shell32::QuoteArgument(page.pcx) +
                    QLatin1Char(' ') + Shell32::QuoteArgument(page.jpg);
    });
    // Step 206 and the start of the converter run on a worker while the next page is cut;
    // a JPEG failure is reported at 206 when this page is finished, before its 212.
    if (pictureLoaded) {
        page.jpegWritten = run.worker.run([image = run.window.renderImage(), jpg = page.jpg, pcx = page.pcx,
                                           command = run.converterCommand + QLatin1Char(' ') + arguments,
                                           converterFile = run.converterFile, conversion = &page.conversion] {
            SaveAsJPG::SaveBitmapAsJPG(image, jpg, 100);
            conversion->start(converterFile, command, pcx);
        });
    }
}

void finishPage(DocumentRun& run, PageInFlight& page) {
    errorreport::StepGuard& guard = run.guard;
    if (page.jpegWritten.valid()) {
        guard.step(206, [&] {
            if (const std::exception_ptr failure = page.jpegWritten.get()) std::rethrow_exception(failure);
        });
    }
    if (page.conversion.pending()) {
        guard.step(212, [&] {
            page.conversion.finish();
            ++run.pcxWritten;
        });
    }
    guard.step(214, [&] { Main::DeleteFileQuietly(page.bmp); });
    guard.step(216, [&] { Main::DeleteFileQuietly(page.jpg); });
    guard.step(218, [&] { run.pagesDone = DocumentRun::kPagesPerPass + run.pagesDone; });
    guard.step(220, [&] { platform::yieldToEventLoop(); });
    guard.step(222, [&] {
        run.window.setProgressText(QStringLiteral("Processing: ") + Main::FileNameOfPath(run.documentPath) +
                                   QStringLiteral(" (Page ") + QString::number(run.pagesDone) +
                                   QStringLiteral(" of ") + QString::number(run.pageCount) +
                                   QLatin1Char(')'));
    });
    guard.step(224, [&] { platform::yieldToEventLoop(); });
}

}  // namespace Word1
