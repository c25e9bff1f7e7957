// One document becomes one PCX image per page: the engine lays it out, every pass cuts the first
// page left to the clipboard, and the picture travels clipboard -> .bmp -> Creator -> .jpg -> .pcx.
// The phases are in DocumentOpening.cpp, IndentRepair.cpp, PageSelection.cpp and PageCut.cpp.
#include <memory>
#include <utility>

#include "conversion/ClipboardKeeper.h"
#include "conversion/ConverterTool.h"
#include "conversion/DocumentRun.h"
#include "conversion/Word1.h"
#include "platform/MousePointer.h"
#include "platform/ProgramExit.h"

namespace Word1 {

namespace {

// Steps 146 and 148, and the names the page is made under: the output folder is read afresh for
// every page, and the page keeps the names it was made under.
std::unique_ptr<PageInFlight> startPage(DocumentRun& run, const QString& baseName) {
    run.guard.step(146, [&] { run.window.setMousePointer(platform::kPointerHourglass); });
    run.guard.step(148, [&] { ++run.pageNumber; });
    const QString prefix =
        run.window.outputFolderText() + baseName + QLatin1Char('_') + QString::number(run.pageNumber);
    auto page = std::make_unique<PageInFlight>();
    page->bmp = prefix + QStringLiteral(".bmp");
    page->jpg = prefix + QStringLiteral(".jpg");
    page->pcx = prefix + QStringLiteral(".pcx");
    return page;
}

}  // namespace

void SaveDocAsPCX(ConversionWindow& window, const QString& documentPath, const ConversionObserver& observer,
                  const QString& documentAfterThis) {
    DocumentRun run(window, documentPath);
    errorreport::StepGuard& guard = run.guard;
    // Closing the window ends the program at once, also in the middle of this document: nothing
    // of the pages in flight stays, nor the converter file unless another copy still holds it.
    const platform::ProgramEndAction leaveNothingBehind([&run] {
        run.worker.abandon();
        for (PageInFlight* page : {run.previous.get(), run.current.get()}) {
            if (page) page->discard();
        }
        run.converterHold.releaseAndRemove();
        Main::RemoveConverterFolder(run.converterFile);
    });

    setUpConverter(run);
    const QString baseName = baseNameOf(run);
    // The user's clipboard goes back in place when the document is done, unless the user copied
    // something meanwhile.
    ClipboardKeeper userClipboard;
    openAndMeasure(run, documentAfterThis);

    while (!run.finished) {
        guard.holdReports(run.previous != nullptr);
        run.current = startPage(run, baseName);
        repairIndents(run);
        selectPage(run);
        cutAndSavePicture(run, *run.current, userClipboard);
        guard.holdReports(false);
        if (run.previous) {
            finishPage(run, *run.previous);
            guard.reportHeldFailures();
        }
        run.previous = std::move(run.current);
    }
    if (run.previous) finishPage(run, *run.previous);

    closeDocument(run, userClipboard);
    if (observer) observer(documentPath, run.pcxWritten);
}

}  // namespace Word1
