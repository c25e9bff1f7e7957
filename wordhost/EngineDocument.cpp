#include "wordhost/EngineDocument.h"

#include "wordhost/EngineError.h"
#include "wordhost/Office.h"
#include "wordhost/PdfLayout.h"
#include "wordhost/RenderAhead.h"

#define LOK_USE_UNSTABLE_API
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <LibreOfficeKit/LibreOfficeKit.hxx>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace wordhost {

namespace {

constexpr int kPagesAhead = 3;
// Pages cut at once stand in one picture; past this it would not fit the client's memory sensibly.
constexpr std::size_t kMaxPictureBytes = std::size_t(512) << 20;

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

EngineDocument::EngineDocument(Office& office, std::string workFolder, const std::string& path)
    : office_(office), folder_(std::move(workFolder)), shownPath_(path), selection_(*this) {
    copy_ = folder_ + "/" + fileNameOf(path);
    copyDocument(path, copy_);
    format_ = sniffDocument(copy_, shownPath_);
    std::string loaded = copy_;
    if (format_ == DocumentFormat::Empty) {
        // As a word processor opens an empty file: a new document with nothing in it.
        loaded = folder_ + "/empty.rtf";
        writeEmptyDocument(loaded);
    }
    engineDocument_ = office_.load(loaded, shownPath_);
    model_ = std::make_unique<DocumentModel>(fileUrl(loaded));
    // Another kind of document is no Word document; a word-processing file that the engine could
    // only read as plain text is one in a form it does not know, or a damaged one.
    if (!model_->isTextDocument()) notWordDocument(shownPath_);
    const std::string filter = model_->filterName();
    if (filter == "Text" || filter.rfind("Text (", 0) == 0)
        throw EngineError(unreadableDocumentDescription(shownPath_));
}

EngineDocument::~EngineDocument() {
    renderer_.reset();  // joins the drawing thread before the layout file goes
    model_.reset();     // lets go of the document's paragraphs before the engine closes it
    engineDocument_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

int EngineDocument::pages() { return static_cast<int>(remaining_.size()); }

const std::vector<std::string>& EngineDocument::lines(int page) {
    return layout_->lines(remaining_.at(static_cast<std::size_t>(page)));
}

// The engine keeps its own layout up to date; the exported one is made when pages are needed.
void EngineDocument::repaginate() {}

int EngineDocument::pageCount() {
    // Until the first export, the engine's own layout knows the page count (also after indent
    // writes): a document repaired before its first cut is exported once.
    if (!layout_) return std::max(model_->pageCount(), 1);
    ensureLayout();
    return pages();
}

void EngineDocument::ensureLayout() {
    if (!layout_ || changed_) layOut();
}

// Exports the layout of the loaded document (with every change made so far) and keeps the pages
// cut so far out of it: the document in the engine is never cut itself.
void EngineDocument::layOut() {
    model_->applyChanges();
    changed_ = false;
    const std::string pdf = folder_ + "/layout-" + std::to_string(++layouts_) + ".pdf";
    office_.saveAs(*engineDocument_, pdf, "pdf");
    renderer_.reset();
    layout_ = std::make_unique<PdfLayout>(pdf);
    renderer_ = std::make_unique<RenderAhead>(pdf);
    remaining_.clear();
    for (int page = 0; page < layout_->pageCount(); ++page) {
        if (!cut_.count(page)) remaining_.push_back(page);
    }
    selection_.clamp();
    prepareNextPages();
}

void EngineDocument::prepareNextPages() {
    std::vector<int> next;
    for (std::size_t i = 0; i < remaining_.size() && next.size() < kPagesAhead; ++i)
        next.push_back(remaining_[i]);
    renderer_->prepare(std::move(next));
}

std::vector<Indents> EngineDocument::paragraphIndents() {
    try {
        return model_->indents();
    } catch (const EngineError& error) {
        // Without its paragraphs the document still converts, only without the indent repair.
        std::fprintf(stderr, "marrowdale-wordhost: no paragraphs for \"%s\": %s\n", shownPath_.c_str(),
                     error.what());
        return {};
    }
}

void EngineDocument::setIndent(std::size_t paragraph, bool left, double points) {
    const std::vector<Indents>& now = model_->indents();
    if (paragraph < now.size() && (left ? now[paragraph].left : now[paragraph].right) == points) return;
    model_->setIndent(paragraph, left, points);
    changed_ = true;
}

void EngineDocument::goToPage(int page) {
    ensureLayout();
    selection_.goToPage(page);
}

void EngineDocument::moveUp(int lines, bool extend) {
    ensureLayout();
    selection_.moveUp(lines, extend);
}

void EngineDocument::endOfDocument(bool extend) {
    ensureLayout();
    selection_.endOfDocument(extend);
}

std::string EngineDocument::selectionText() {
    ensureLayout();
    return selection_.text();
}

std::optional<PageImage> EngineDocument::cut() {
    ensureLayout();
    selection_.clamp();
    const auto range = selection_.pages();
    if (!range) return std::nullopt;
    std::size_t bytes = 0;
    for (int page = range->first; page <= range->second; ++page) {
        const auto [width, height] = layout_->pictureSize(remaining_[static_cast<std::size_t>(page)]);
        bytes += std::size_t(width) * std::size_t(height) * PageImage::kBytesPerPixel;
    }
    if (bytes > kMaxPictureBytes) {
        throw EngineError("The selection is too large to cut as one picture (" +
                          std::to_string(range->second - range->first + 1) + " pages).");
    }
    std::vector<PageImage> pictures;
    for (int page = range->first; page <= range->second; ++page) {
        pictures.push_back(renderer_->take(remaining_[static_cast<std::size_t>(page)]));
    }
    for (int page = range->first; page <= range->second; ++page)
        cut_.insert(remaining_[static_cast<std::size_t>(page)]);
    remaining_.erase(remaining_.begin() + range->first, remaining_.begin() + range->second + 1);
    selection_.collapseTo({range->first, 0});
    prepareNextPages();
    return stackPages(std::move(pictures));
}

}  // namespace wordhost
