#include "wordhost/WordDocument.h"

#include <algorithm>
#include <cstdio>

#include "wordhost/EngineError.h"
#include "wordhost/RenderAhead.h"

namespace wordhost {

using namespace protocol;

namespace {

constexpr int kPagesAhead = 3;
// Pages cut at once stand in one picture; past this it would not fit the client's memory sensibly.
constexpr std::size_t kMaxPictureBytes = std::size_t(512) << 20;

}  // namespace

WordDocument::WordDocument(std::unique_ptr<LoadedDocument> loaded, std::string shownPath)
    : loaded_(std::move(loaded)), shownPath_(std::move(shownPath)), selection_(*this) {}

WordDocument::~WordDocument() {
    renderer_.reset();  // joins the drawing thread before the layout goes
    layout_.reset();
    loaded_.reset();
}

int WordDocument::pages() {
    takeNewPages(true);
    return static_cast<int>(remaining_.size());
}

// Answered from the pages exported so far where they reach: the rest of a long layout is still
// being exported while its first pages are converted.
bool WordDocument::hasPage(int page) {
    if (page < 0) return false;
    if (static_cast<std::size_t>(page) >= remaining_.size()) takeNewPages(false);
    if (static_cast<std::size_t>(page) >= remaining_.size()) takeNewPages(true);
    return static_cast<std::size_t>(page) < remaining_.size();
}

void WordDocument::takeNewPages(bool waitForAll) {
    if (allPagesTaken_) return;
    const PageLayout::ReadyPages ready =
        waitForAll ? PageLayout::ReadyPages{layout_->pageCount(), true} : layout_->readyPages();
    for (int page = pagesTaken_; page < ready.count; ++page) {
        if (!cut_.count(page)) remaining_.push_back(page);
    }
    pagesTaken_ = ready.count;
    allPagesTaken_ = ready.all;
}

// The drawing thread reads a page's lines as it draws it ahead: the selection's moves then find
// them ready instead of reading the page again here, between the client's calls.
const std::vector<std::string>& WordDocument::lines(int page) {
    const int number = remaining_.at(static_cast<std::size_t>(page));
    if (auto found = linesRead_.find(number); found != linesRead_.end()) return found->second;
    if (std::optional<std::vector<std::string>> read = renderer_->takeLines(number))
        return linesRead_.emplace(number, std::move(*read)).first->second;
    return layout_->lines(number);
}

// The engine keeps its own layout up to date; the exported one is made when pages are needed.
void WordDocument::repaginate() {}

int WordDocument::pageCount() {
    // Until the first export, the engine's own layout knows the page count (also after indent
    // writes): a document repaired before its first cut is exported once.
    if (!layout_) return std::max(loaded_->enginePageCount(), 1);
    ensureLayout();
    return pages();
}

void WordDocument::ensureLayout() {
    if (!layout_ || changed_) layOut();
}

// Exports the layout of the loaded document (with every change made so far) and keeps the pages
// cut so far out of it: the document in the engine is never cut itself. A failed export leaves
// the last layout in place and is tried again at the next call that needs the pages.
void WordDocument::layOut() {
    std::unique_ptr<PageLayout> layout = loaded_->exportLayout();
    changed_ = false;
    renderer_.reset();
    linesRead_.clear();
    layout_ = std::move(layout);
    renderer_ = std::make_unique<RenderAhead>(*layout_);
    remaining_.clear();
    pagesTaken_ = 0;
    allPagesTaken_ = false;
    takeNewPages(false);
    selection_.clamp();
    prepareNextPages();
}

void WordDocument::prepareNextPages() {
    if (remaining_.size() < kPagesAhead) takeNewPages(false);
    std::vector<int> next;
    for (std::size_t i = 0; i < remaining_.size() && next.size() < kPagesAhead; ++i)
        next.push_back(remaining_[i]);
    renderer_->prepare(std::move(next));
}

std::vector<ParagraphIndents> WordDocument::paragraphIndents() {
    try {
        return loaded_->indents();
    } catch (const EngineError& error) {
        // Without its paragraphs the document still converts, only without the indent repair.
        std::fprintf(stderr, "marrowdale-wordhost: no paragraphs for \"%s\": %s\n", shownPath_.c_str(),
                     error.what());
        return {};
    }
}

void WordDocument::setIndent(std::size_t paragraph, bool left, double points) {
    const std::vector<ParagraphIndents>& now = loaded_->indents();
    if (paragraph < now.size() && (left ? now[paragraph].left : now[paragraph].right) == points) return;
    loaded_->setIndent(paragraph, left, points);
    changed_ = true;
}

void WordDocument::goToPage(int page) {
    ensureLayout();
    selection_.goToPage(page);
}

void WordDocument::moveUp(int lines, bool extend) {
    ensureLayout();
    selection_.moveUp(lines, extend);
}

void WordDocument::endOfDocument(bool extend) {
    ensureLayout();
    selection_.endOfDocument(extend);
}

std::string WordDocument::selectionText() {
    ensureLayout();
    return selection_.text();
}

std::optional<PagePicture> WordDocument::cut() {
    ensureLayout();
    selection_.clamp();
    const auto range = selection_.pages();
    if (!range) return std::nullopt;
    std::size_t bytes = 0;
    for (int page = range->first; page <= range->second; ++page) {
        const auto [width, height] = layout_->pictureSize(remaining_[static_cast<std::size_t>(page)]);
        bytes += std::size_t(width) * std::size_t(height) * PagePicture::kMostBytesPerPixel;
    }
    if (bytes > kMaxPictureBytes) {
        throw EngineError("The selection is too large to cut as one picture (" +
                          std::to_string(range->second - range->first + 1) + " pages).");
    }
    std::vector<PagePicture> pictures;
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
