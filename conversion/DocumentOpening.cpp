// The phases around the pages: the converter is set up, the document opened and measured, and at
// the end closed with the engine.
#include <QStringList>
#include <cstdint>
#include <exception>

#include "conversion/ClipboardKeeper.h"
#include "conversion/ConverterTool.h"
#include "conversion/DocumentRun.h"
#include "fsutil/Main.h"
#include "platform/AppError.h"
#include "platform/EventLoop.h"

namespace Word1 {

void setUpConverter(DocumentRun& run) {
    errorreport::StepGuard& guard = run.guard;
    QString addressWidth;
    QByteArray converterImage;
    guard.step(100, [&] { addressWidth = Main::ProcessorAddressWidth(); });
    if (guard.test(102, [&] { return addressWidth == QLatin1String("64"); })) {
        guard.step(104, [&] { converterImage = Main::LoadCustomResource(102); });
    } else {
        guard.step(106, [&] { converterImage = Main::LoadCustomResource(101); });
    }
    guard.step(108, [&] {
        run.converterFile = Main::ConverterFilePath();
        run.converterHold.writeAndHold(converterImage, run.converterFile);
    });
    guard.step(110, [&] { run.converterCommand = QLatin1Char('"') + run.converterFile + QLatin1Char('"'); });
}

// The document path less its last extension, then its last element ("" when the path has no ".").
QString baseNameOf(DocumentRun& run) {
    errorreport::StepGuard& guard = run.guard;
    QStringList pieces;
    QString baseName;
    guard.step(112, [&] { pieces = run.documentPath.split(QLatin1Char('.')); });
    guard.step(114, [&] { baseName.clear(); });
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
        guard.step(118, [&] { baseName += pieces[i] + QLatin1Char('.'); });
    }
    if (guard.test(122, [&] { return !baseName.isEmpty(); })) {
        guard.step(124, [&] { baseName.chop(1); });
    }
    guard.step(126, [&] { baseName = Main::FileNameOfPath(baseName); });
    return baseName;
}

void openAndMeasure(DocumentRun& run, const QString& documentAfterThis) {
    errorreport::StepGuard& guard = run.guard;
    guard.step(130, [&] { run.word = wordclient::wordFactory().createObject(); });
    // A spare engine reads the next document ahead while this one converts; only a hint, never reported.
    if (!documentAfterThis.isEmpty()) {
        try {
            wordclient::wordFactory().readAhead(documentAfterThis);
        } catch (const std::exception&) {
        }
    }
    guard.step(132, [&] { run.engine().documentsOpen(run.documentPath); });
    guard.step(134, [&] { run.engine().activeDocumentRepaginate(); });
    guard.step(136, [&] {
        bool ok = false;
        const qlonglong pages =
            run.engine().builtInDocumentProperty(wordclient::wd::PropertyPages).toLongLong(&ok);
        if (!ok || pages < INT32_MIN || pages > INT32_MAX)
            throw platform::AppError(platform::ErrorNumber::Overflow);
        run.pageCount = static_cast<std::int32_t>(pages);
    });
    guard.step(138, [&] { run.savedPageFit = run.engine().pageFit(); });
    guard.step(140, [&] { run.engine().setPageFit(wordclient::wd::PageFitBestFit); });
    guard.step(142, [&] { run.finished = false; });
}

void closeDocument(DocumentRun& run, ClipboardKeeper& clipboard) {
    errorreport::StepGuard& guard = run.guard;
    guard.step(226, [&] { run.engine().setPageFit(run.savedPageFit); });
    guard.step(228, [&] { run.engine().activeDocumentClose(wordclient::wd::DoNotSaveChanges); });
    guard.step(230, [&] { run.engine().quit(); });
    run.word.reset();
    clipboard.restore();
    guard.step(232, [&] {
        platform::yieldToEventLoop();
        run.converterHold.releaseAndRemove();
        Main::RemoveConverterFolder(run.converterFile);
    });
}

}  // namespace Word1
