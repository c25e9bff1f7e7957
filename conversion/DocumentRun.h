#pragma once

#include <QString>
#include <cstdint>
#include <exception>
#include <future>
#include <memory>

#include "conversion/ConversionWindow.h"
#include "conversion/ConverterFileHold.h"
#include "conversion/PageConverter.h"
#include "conversion/PageWorker.h"
#include "errorreport/StepGuard.h"
#include "wordclient/WordApplication.h"

namespace Word1 {

class ClipboardKeeper;

// A page whose picture is made: its JPEG and converter may still run while the next page is cut.
struct PageInFlight {
    QString bmp;
    QString jpg;
    QString pcx;
    PageConversion conversion;
    std::future<std::exception_ptr> jpegWritten;  // on a worker; the JPEG's failure, if any

    // The program ends in the middle of this page: its converter removes its unfinished PCX, and
    // the intermediate files go. The worker must be idle.
    void discard();
};

// What the phases of one document's conversion share. Page n's converter runs while page n+1 is
// cut, saved and written as JPEG; what the user sees keeps its order: page n+1's failures are held
// until page n is done (its converter failure reported at its own 212, its progress text shown
// once its PCX is complete).
struct DocumentRun {
    DocumentRun(ConversionWindow& window, const QString& documentPath);

    // The engine object; error 91 when it could not be made, as an unset object variable gives.
    wordclient::WordApplication& engine() const;

    static constexpr std::int16_t kPagesPerPass = 1;
    // A pass's selection backs up from the start of the page after it in moves of lines.
    static constexpr std::int16_t kLinesPerMove = 200;
    static constexpr int kMovesPerPass = 100;

    ConversionWindow& window;
    const QString documentPath;
    errorreport::StepGuard guard;
    QString converterFile;  // found where it is first needed, so a failure is reported there
    QString converterCommand;
    std::unique_ptr<wordclient::WordApplication> word;
    std::int32_t pageCount = 0;
    std::int16_t savedPageFit = 0;
    bool finished = false;
    std::int32_t pageNumber = 0;
    std::int32_t pagesDone = 0;
    std::int32_t pcxWritten = 0;
    Main::ConverterFileHold converterHold;
    PageWorker worker;  // declared before the pages: it ends after every page it started a converter for
    std::unique_ptr<PageInFlight> previous;
    std::unique_ptr<PageInFlight> current;
};

// The phases, in the order a document goes through them, each with the steps of its part.
void setUpConverter(DocumentRun& run);                                                     // 100-110
QString baseNameOf(DocumentRun& run);                                                      // 112-126
void openAndMeasure(DocumentRun& run, const QString& documentAfterThis);                   // 130-142
void repairIndents(DocumentRun& run);                                                      // 150-158
void selectPage(DocumentRun& run);                                                         // 180-192
void cutAndSavePicture(DocumentRun& run, PageInFlight& page, ClipboardKeeper& clipboard);  // 196-208
void finishPage(DocumentRun& run, PageInFlight& page);                                     // 206-224
void closeDocument(DocumentRun& run, ClipboardKeeper& clipboard);                          // 226-232

}  // namespace Word1
