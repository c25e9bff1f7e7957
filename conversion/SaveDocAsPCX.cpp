// One document becomes one PCX image per page: the engine lays it out, every pass cuts the first
// page left to the clipboard, and the picture travels clipboard -> .bmp -> Creator -> .jpg -> .pcx.
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <cstdint>
#include <exception>
#include <memory>
#include <utility>

#include "conversion/ClipboardKeeper.h"
#include "conversion/ClipboardTurn.h"
#include "conversion/ConverterFileHold.h"
#include "conversion/ConverterTool.h"
#include "conversion/PageConverter.h"
#include "conversion/PagePictureFile.h"
#include "conversion/PageWorker.h"
#include "conversion/SaveAsJPG.h"
#include "conversion/Shell32.h"
#include "conversion/Word1.h"
#include "errorreport/StepGuard.h"
#include "fsutil/Main.h"
#include "platform/AppError.h"
#include "platform/EventLoop.h"
#include "platform/MousePointer.h"
#include "platform/ProgramExit.h"
#include "platform/WordApplication.h"

namespace Word1 {

namespace {

const QString kLocation = QStringLiteral("in Tessary2017/04/05.Word1.SaveDocAsPCX ");

QString& documentAfterThis() {
    static QString path;
    return path;
}

platform::WordApplication& engine(const std::unique_ptr<platform::WordApplication>& word) {
    if (!word) throw platform::AppError(91, QStringLiteral("Object variable or With block variable not set"));
    return *word;
}

// The document path less its last extension, then its last element ("" when the path has no ".").
QString baseNameOf(const QString& documentPath, errorreport::StepGuard& guard) {
    QStringList pieces;
    QString baseName;
    guard.step(112, [&] { pieces = documentPath.split(QLatin1Char('.')); });
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

// A page whose picture is made: its JPEG and converter may still run while the next page is cut.
struct PageInFlight {
    QString bmp;
    QString jpg;
    PageConversion conversion;
    std::future<std::exception_ptr> jpegWritten;  // on a worker; the JPEG's failure, if any

    // The program ends in the middle of this page: its converter removes its unfinished PCX, and
    // the intermediate files go. The worker must be idle.
    void discard() {
        conversion.abandon();
        QFile::remove(bmp);
        QFile::remove(jpg);
    }
};

// Steps 152 to 158: every negative indent becomes 0. The writes of the walk go to the engine
// together; each write's failure is still reported at its own step, in its place in the walk
// (the tests cannot fail, so the order of the writes is the order of the walk).
void repairIndents(const std::vector<platform::ParagraphIndents>& paragraphs,
                   const std::unique_ptr<platform::WordApplication>& word, errorreport::StepGuard& guard) {
    struct Write {
        int step;
        std::exception_ptr failure;   // before it could be made (no points)
        std::size_t edit = SIZE_MAX;  // into `edits` otherwise
    };
    std::vector<Write> writes;
    std::vector<platform::IndentEdit> edits;
    const auto write = [&](int step, std::size_t paragraph, bool left) {
        try {
            edits.push_back({paragraph, left, engine(word).centimetersToPoints(0)});
            writes.push_back({step, nullptr, edits.size() - 1});
        } catch (...) {
            writes.push_back({step, std::current_exception()});
        }
    };
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (guard.test(152, [&] { return paragraphs[i].left < 0; })) write(154, i, true);
        if (guard.test(156, [&] { return paragraphs[i].right < 0; })) write(158, i, false);
    }
    std::vector<std::exception_ptr> outcomes;
    if (!edits.empty()) {
        try {
            outcomes = engine(word).setIndents(edits);
        } catch (...) {
            outcomes.assign(edits.size(), std::current_exception());
        }
    }
    for (const Write& each : writes) {
        guard.step(each.step, [&] {
            if (each.failure) std::rethrow_exception(each.failure);
            if (each.edit < outcomes.size() && outcomes[each.edit])
                std::rethrow_exception(outcomes[each.edit]);
        });
    }
}

}  // namespace

void setDocumentAfterThis(const QString& path) { documentAfterThis() = path; }

void SaveDocAsPCX(ConversionWindow& window, const QString& documentPath, const ConversionObserver& observer) {
    errorreport::StepGuard guard(kLocation);
    QString addressWidth;
    QByteArray converterImage;
    QString converterFile;  // found where it is first needed, so a failure is reported there
    QString converterCommand;
    std::unique_ptr<platform::WordApplication> word;
    std::int32_t pageCount = 0;
    std::int16_t savedPageFit = 0;
    bool finished = false;
    std::int32_t pageNumber = 0;
    std::int32_t pagesDone = 0;
    std::int32_t pcxWritten = 0;
    const std::int16_t pagesPerPass = 1;
    // Page n's converter runs while page n+1 is cut, saved and written as JPEG. What the user
    // sees keeps its order: page n+1's failures are held until page n is done (its converter
    // failure reported at its own 212, its progress text shown once its PCX is complete).
    Main::ConverterFileHold converterHold;
    PageWorker worker;  // declared before the pages: it ends after every page it started a converter for
    std::unique_ptr<PageInFlight> previous;
    std::unique_ptr<PageInFlight> current;
    // Closing the window ends the program at once, also in the middle of this document: nothing
    // of the pages in flight stays, nor the converter file unless another copy still holds it.
    const platform::ProgramEndAction leaveNothingBehind([&] {
        worker.abandon();
        for (PageInFlight* page : {previous.get(), current.get()}) {
            if (page) page->discard();
        }
        converterHold.releaseAndRemove();
        Main::RemoveConverterFolder(converterFile);
    });

    guard.step(100, [&] { addressWidth = Main::ProcessorAddressWidth(); });
    if (guard.test(102, [&] { return addressWidth == QLatin1String("64"); })) {
        guard.step(104, [&] { converterImage = Main::LoadCustomResource(102); });
    } else {
        guard.step(106, [&] { converterImage = Main::LoadCustomResource(101); });
    }
    guard.step(108, [&] {
        converterFile = Main::ConverterFilePath();
        converterHold.writeAndHold(converterImage, converterFile);
    });
    guard.step(110, [&] { converterCommand = QLatin1Char('"') + converterFile + QLatin1Char('"'); });
    const QString baseName = baseNameOf(documentPath, guard);
    // The user's clipboard goes back in place when the document is done, unless the user copied
    // something meanwhile.
    ClipboardKeeper userClipboard;

    guard.step(130, [&] { word = platform::wordFactory().createObject(); });
    // A spare engine reads the next document ahead while this one converts; only a hint, never reported.
    if (const QString next = std::exchange(documentAfterThis(), QString()); !next.isEmpty()) {
        try {
            platform::wordFactory().readAhead(next);
        } catch (const std::exception&) {
        }
    }
    guard.step(132, [&] { engine(word).documentsOpen(documentPath); });
    guard.step(134, [&] { engine(word).activeDocumentRepaginate(); });
    guard.step(136, [&] {
        bool ok = false;
        const qlonglong pages =
            engine(word).builtInDocumentProperty(platform::wd::PropertyPages).toLongLong(&ok);
        if (!ok || pages < INT32_MIN || pages > INT32_MAX)
            throw platform::AppError(platform::ErrorNumber::Overflow);
        pageCount = static_cast<std::int32_t>(pages);
    });
    guard.step(138, [&] { savedPageFit = engine(word).pageFit(); });
    guard.step(140, [&] { engine(word).setPageFit(platform::wd::PageFitBestFit); });
    guard.step(142, [&] { finished = false; });

    const auto finishPage = [&](PageInFlight& page) {
        if (page.jpegWritten.valid()) {
            guard.step(206, [&] {
                if (const std::exception_ptr failure = page.jpegWritten.get())
                    std::rethrow_exception(failure);
            });
        }
        if (page.conversion.pending()) {
            guard.step(212, [&] {
                page.conversion.finish();
                ++pcxWritten;
            });
        }
        guard.step(214, [&] { Main::DeleteFileQuietly(page.bmp); });
        guard.step(216, [&] { Main::DeleteFileQuietly(page.jpg); });
        guard.step(218, [&] { pagesDone = pagesPerPass + pagesDone; });
        guard.step(220, [&] { platform::yieldToEventLoop(); });
        guard.step(222, [&] {
            window.setProgressText(QStringLiteral("Processing: ") + Main::FileNameOfPath(documentPath) +
                                   QStringLiteral(" (Page ") + QString::number(pagesDone) +
                                   QStringLiteral(" of ") + QString::number(pageCount) + QLatin1Char(')'));
        });
        guard.step(224, [&] { platform::yieldToEventLoop(); });
    };

    while (!finished) {
        guard.holdReports(previous != nullptr);
        guard.step(146, [&] { window.setMousePointer(platform::kPointerHourglass); });
        guard.step(148, [&] { ++pageNumber; });
        // The output folder is read afresh for every page; the page keeps the names it was made under.
        const QString prefix =
            window.outputFolderText() + baseName + QLatin1Char('_') + QString::number(pageNumber);
        current = std::make_unique<PageInFlight>();
        PageInFlight* const page = current.get();
        page->bmp = prefix + QStringLiteral(".bmp");
        page->jpg = prefix + QStringLiteral(".jpg");
        const QString pcx = prefix + QStringLiteral(".pcx");

        std::vector<platform::ParagraphIndents> paragraphs;
        guard.step(150, [&] { paragraphs = engine(word).paragraphIndents(); });
        repairIndents(paragraphs, word, guard);

        // The page still in flight counts as done: its step 218 cannot fail.
        const std::int32_t pagesDoneByNow = pagesDone + (previous ? pagesPerPass : 0);
        if (guard.test(180, [&] { return pagesPerPass >= pageCount - pagesDoneByNow; })) {
            guard.step(182, [&] { finished = true; });
            guard.step(184, [&] { engine(word).selectionEndKey(platform::wd::Story, platform::wd::Extend); });
        } else {
            guard.step(186, [&] {
                engine(word).selectionGoTo(platform::wd::GoToPage, platform::wd::GoToNext,
                                           static_cast<std::int16_t>(pagesPerPass + 1));
            });
            // The 100 moves travel to the engine together; each is still yielded for and reported in turn.
            std::vector<std::exception_ptr> moves;
            try {
                moves =
                    engine(word).selectionMoveUpRepeated(platform::wd::Line, 200, platform::wd::Extend, 100);
            } catch (...) {
                moves.assign(100, std::current_exception());  // no engine: every move fails alike
            }
            for (int move = 0; move < 100; ++move) {
                guard.step(190, [&] { platform::yieldToEventLoop(); });
                if (std::size_t(move) < moves.size()) {
                    guard.step(192, [&] {
                        if (moves[std::size_t(move)]) std::rethrow_exception(moves[std::size_t(move)]);
                    });
                }
            }
        }

        {
            // Another copy of the program may be cutting its page at the same moment; no box is
            // shown while the turn is held, so the other copies never wait on the user.
            const ClipboardTurn turn;
            guard.holdReports(true);
            // Only a picture cut for this very page may become its image: never the previous page's.
            userClipboard.clearForNextPicture();
            if (guard.test(196, [&] { return engine(word).selectionText().size() > 0; })) {
                guard.step(198, [&] { engine(word).selectionCut(); });
            }
            userClipboard.takePagePicture();
        }
        guard.holdReports(previous != nullptr);
        if (!previous) guard.reportHeldFailures();
        guard.step(200, [&] { Main::DeleteFileQuietly(pcx); });
        // A step whose input is missing is not tried: the page has already been reported once.
        window.setRenderPicture(QImage());
        const bool pictureSaved =
            guard.step(202, [&] { savePagePicture(userClipboard.pagePicture(), page->bmp); });
        const bool pictureLoaded =
            pictureSaved && guard.step(204, [&] { window.setRenderPicture(loadPagePicture(page->bmp)); });
        QString arguments;
        guard.step(208, [&] {
            arguments = QStringLiteral("-out pcx -c 1 -o ") + Shell32::QuoteArgument(pcx) + QLatin1Char(' ') +
                        Shell32::QuoteArgument(page->jpg);
        });
        // Step 206 and the start of the converter run on a worker while the next page is cut;
        // a JPEG failure is reported at 206 when this page is finished, before its 212.
        if (pictureLoaded) {
            page->jpegWritten = worker.run([image = window.renderImage(), jpg = page->jpg, pcx,
                                            command = converterCommand + QLatin1Char(' ') + arguments,
                                            converterFile, conversion = &page->conversion] {
                SaveAsJPG::SaveBitmapAsJPG(image, jpg, 100);
                conversion->start(converterFile, command, pcx);
            });
        }

        guard.holdReports(false);
        if (previous) {
            finishPage(*previous);
            guard.reportHeldFailures();
        }
        previous = std::move(current);
    }
    if (previous) finishPage(*previous);

    guard.step(226, [&] { engine(word).setPageFit(savedPageFit); });
    guard.step(228, [&] { engine(word).activeDocumentClose(platform::wd::DoNotSaveChanges); });
    guard.step(230, [&] { engine(word).quit(); });
    word.reset();
    userClipboard.restore();
    guard.step(232, [&] {
        platform::yieldToEventLoop();
        converterHold.releaseAndRemove();
        Main::RemoveConverterFolder(converterFile);
    });
    if (observer) observer(documentPath, pcxWritten);
}

}  // namespace Word1
