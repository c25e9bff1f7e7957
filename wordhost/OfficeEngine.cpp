#include "wordhost/OfficeEngine.h"

#include "wordhost/DocumentModel.h"
#include "wordhost/DocumentSniffer.h"
#include "wordhost/EngineError.h"
#include "wordhost/PdfExportSettings.h"
#include "wordhost/WarmUp.h"

#define LOK_USE_UNSTABLE_API
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <LibreOfficeKit/LibreOfficeKit.hxx>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace wordhost {

using namespace protocol;

namespace {

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.empty() ? "document" : name;
}

// Copies the document under its own name (fields that show the file name stay right) and keeps
// its modification time. Refuses what cannot be opened as a file.
void copyDocument(const std::string& from, const std::string& to) {
    struct stat info {};
    if (::stat(from.c_str(), &info) != 0) {
        if (errno == EACCES)
            throw EngineError("The document \"" + from + "\" cannot be read: " + std::strerror(errno) + ".");
        throw EngineError("The document \"" + from + "\" does not exist.");
    }
    if (S_ISDIR(info.st_mode)) throw EngineError("\"" + from + "\" is a folder, not a document.");
    if (!S_ISREG(info.st_mode)) throw EngineError("\"" + from + "\" is not a Word document.");
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (in < 0)
        throw EngineError("The document \"" + from + "\" cannot be read: " + std::strerror(errno) + ".");
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        throw EngineError(
            "The document engine cannot copy the document: " + std::string(std::strerror(error)) + ".");
    }
    int error = 0;
    for (;;) {
        const ssize_t sent = ::sendfile(out, in, nullptr, 1 << 30);
        if (sent > 0) continue;
        if (sent < 0) error = errno;
        break;
    }
    ::close(in);
    const timespec times[2] = {info.st_atim, info.st_mtim};
    ::futimens(out, times);
    if (::close(out) != 0 && error == 0) error = errno;
    if (error != 0) {
        throw EngineError("The document \"" + from +
                          "\" cannot be read: " + std::string(std::strerror(error)) + ".");
    }
}

void writeEmptyDocument(const std::string& path) {
    const int out = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    static const char kEmpty[] = "{\\rtf1\\ansi }\n";
    const bool written = out >= 0 && ::write(out, kEmpty, sizeof kEmpty - 1) == ssize_t(sizeof kEmpty - 1);
    if (out >= 0) ::close(out);
    if (!written)
        throw EngineError(
            "The document engine cannot make an empty document: " + std::string(std::strerror(errno)) + ".");
}

[[noreturn]] void notWordDocument(const std::string& shown) {
    throw EngineError("\"" + shown + "\" is not a Word document.");
}

}  // namespace

OfficeEngine::OfficeEngine(const std::string& programFolder, const std::string& profileFolder)
    : office_(programFolder, profileFolder) {
    try {
        wordSettings_ = std::make_unique<WordLayoutSettings>();
    } catch (const EngineError& error) {
        // Documents still open, laid out by the engine's own defaults.
        std::fprintf(stderr, "marrowdale-wordhost: %s\n", error.what());
    }
}

std::unique_ptr<LoadedDocument> OfficeEngine::open(const std::string& workFolder, const std::string& path) {
    try {
        return std::make_unique<OfficeDocument>(office_, workFolder, path);
    } catch (...) {
        // A document refused leaves no copy behind.
        std::error_code ignored;
        std::filesystem::remove_all(workFolder, ignored);
        throw;
    }
}

void OfficeEngine::warmUp(const std::string& workFolder) { wordhost::warmUp(office_, workFolder); }

OfficeDocument::OfficeDocument(LibreOfficeSession& office, std::string workFolder, const std::string& path)
    : office_(office), folder_(std::move(workFolder)) {
    const std::string copy = folder_ + "/" + fileNameOf(path);
    copyDocument(path, copy);
    std::string loaded = copy;
    if (sniffDocument(copy, path) == DocumentFormat::Empty) {
        // As a word processor opens an empty file: a new document with nothing in it.
        loaded = folder_ + "/empty.rtf";
        writeEmptyDocument(loaded);
    }
    engineDocument_ = office_.load(loaded, path);
    model_ = std::make_unique<DocumentModel>(fileUrl(loaded));
    // Another kind of document is no Word document; a word-processing file that the engine could
    // only read as plain text is one in a form it does not know, or a damaged one.
    if (!model_->isTextDocument()) notWordDocument(path);
    const std::string filter = model_->filterName();
    if (filter == "Text" || filter.rfind("Text (", 0) == 0)
        throw EngineError(unreadableDocumentDescription(path));
}

OfficeDocument::~OfficeDocument() {
    exporting_.reset();  // its exports use the document
    model_.reset();      // lets go of the document's paragraphs before the engine closes it
    engineDocument_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

int OfficeDocument::enginePageCount() { return model_->pageCount(); }

const std::vector<ParagraphIndents>& OfficeDocument::indents() { return model_->indents(); }

void OfficeDocument::setIndent(std::size_t paragraph, bool left, double points) {
    if (exporting_) exporting_->finish();  // the parts of an export are of one layout
    model_->setIndent(paragraph, left, points);
}

// The first pages are exported here, the rest on the export's own thread while the client
// converts them: nothing else uses the engine meanwhile (an indent write waits for the end).
std::unique_ptr<PageLayout> OfficeDocument::exportLayout() {
    if (exporting_) exporting_->finish();
    model_->applyChanges();
    int expectedPages = 0;
    try {
        expectedPages = model_->pageCount();
    } catch (const EngineError&) {
        // exported whole, as a document of unknown length
    }
    std::vector<PageSpan> plan = planLayoutParts(expectedPages);
    std::vector<FilterSetting> settings;
    try {
        if (plan.size() > 1) settings = officePdfExportSettings();
    } catch (const EngineError&) {
        plan = {PageSpan{}};  // exported whole: pages alone would be laid out by other settings
    }
    const std::string stem = folder_ + "/layout-" + std::to_string(++exports_);
    auto exported = std::make_unique<LayoutInParts>(
        [this, stem, settings = std::move(settings)](PageSpan span) {
            const bool whole = span == PageSpan{};
            const std::string pdf =
                whole ? stem + ".pdf" : stem + "-from-" + std::to_string(span.first) + ".pdf";
            office_.saveAs(*engineDocument_, pdf, "pdf",
                           whole ? std::string() : pdfFilterData(settings, pageRangeText(span)));
            return pdf;
        },
        std::move(plan));
    std::unique_ptr<PageLayout> layout = exported->layout();
    exporting_ = std::move(exported);
    return layout;
}

}  // namespace wordhost
