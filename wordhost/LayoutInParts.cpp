#include "wordhost/LayoutInParts.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

#include "wordhost/EngineError.h"
#include "wordhost/MupdfLayout.h"

namespace wordhost {

namespace {

constexpr int kFirstPartPages = 8;
// Exported whole: the parts of so short a document would save less than their exports cost.
constexpr int kShortDocumentPages = 16;

// Pages [first, first + count) of the layout are the PDF's pages [skip, skip + count).
struct Part {
    std::string pdf;
    int first = 0;
    int skip = 0;
    int count = 0;
};

}  // namespace

struct LayoutInParts::Shared {
    std::mutex mutex;
    std::condition_variable grown;
    std::vector<Part> parts;
    int pages = 0;
    bool complete = false;
    bool stopping = false;
    std::string failure;  // why the pages after `pages` cannot be had
};

namespace {

// Reads a layout in parts on one thread: a MuPDF reader per part, opened when first read.
class PartedLayout : public PageLayout {
  public:
    explicit PartedLayout(std::shared_ptr<LayoutInParts::Shared> shared) : shared_(std::move(shared)) {}

    int pageCount() const override {
        std::unique_lock lock(shared_->mutex);
        shared_->grown.wait(lock, [&] { return shared_->complete; });
        if (!shared_->failure.empty()) throw EngineError(shared_->failure);
        return shared_->pages;
    }
    ReadyPages readyPages() const override {
        std::lock_guard lock(shared_->mutex);
        return {shared_->pages, shared_->complete && shared_->failure.empty()};
    }
    const std::vector<std::string>& lines(int page) override {
        const auto [reader, local] = partOf(page);
        return reader->lines(local);
    }
    std::pair<int, int> pictureSize(int page) const override {
        const auto [reader, local] = partOf(page);
        return reader->pictureSize(local);
    }
    protocol::PagePicture render(int page) const override {
        const auto [reader, local] = partOf(page);
        return reader->render(local);
    }
    std::unique_ptr<PageLayout> openAgain() const override { return std::make_unique<PartedLayout>(shared_); }

  private:
    // The reader of the part that holds `page`, and the page's number in it; waits for the part.
    std::pair<MupdfLayout*, int> partOf(int page) const {
        std::unique_lock lock(shared_->mutex);
        shared_->grown.wait(lock, [&] { return page < shared_->pages || shared_->complete; });
        if (page < 0 || page >= shared_->pages) {
            if (page >= 0 && !shared_->failure.empty()) throw EngineError(shared_->failure);
            throw EngineError("The page " + std::to_string(page + 1) + " is not in the layout.");
        }
        const auto found = std::find_if(shared_->parts.begin(), shared_->parts.end(),
                                        [&](const Part& part) { return page < part.first + part.count; });
        const std::size_t index = static_cast<std::size_t>(found - shared_->parts.begin());
        const Part part = *found;
        lock.unlock();
        if (readers_.size() <= index) readers_.resize(index + 1);
        if (!readers_[index]) readers_[index] = std::make_unique<MupdfLayout>(part.pdf);
        return {readers_[index].get(), part.skip + page - part.first};
    }

    std::shared_ptr<LayoutInParts::Shared> shared_;
    mutable std::vector<std::unique_ptr<MupdfLayout>> readers_;
};

}  // namespace

std::vector<PageSpan> planLayoutParts(int expectedPages) {
    if (expectedPages <= kShortDocumentPages) return {{1, 0}};
    std::vector<PageSpan> plan;
    long long first = 1;
    for (long long size = kFirstPartPages; first + size - 1 < expectedPages; size *= 2) {
        plan.push_back({static_cast<int>(first), static_cast<int>(first + size - 1)});
        first += size;
    }
    plan.push_back({static_cast<int>(first), 0});
    return plan;
}

std::string pageRangeText(PageSpan span) {
    return std::to_string(span.first) + "-" + (span.last > 0 ? std::to_string(span.last) : std::string());
}

LayoutInParts::LayoutInParts(ExportPages exportPages, std::vector<PageSpan> plan)
    : exportPages_(std::move(exportPages)), shared_(std::make_shared<Shared>()) {
    if (plan.empty()) plan.push_back({1, 0});
    const PageSpan first = plan.front();
    const bool last = addPart(first, exportPages_(first)) || plan.size() == 1;
    if (last) {
        std::lock_guard lock(shared_->mutex);
        shared_->complete = true;
        return;
    }
    plan.erase(plan.begin());
    worker_ = std::thread([this, rest = std::move(plan)]() mutable { exportRest(std::move(rest)); });
}

LayoutInParts::~LayoutInParts() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
    }
    finish();
    std::lock_guard lock(shared_->mutex);
    if (!shared_->complete) {
        shared_->failure = "The document was closed before its layout was exported.";
        shared_->complete = true;
    }
    shared_->grown.notify_all();
}

std::unique_ptr<PageLayout> LayoutInParts::layout() const { return std::make_unique<PartedLayout>(shared_); }

void LayoutInParts::finish() {
    if (worker_.joinable()) worker_.join();
}

bool LayoutInParts::addPart(PageSpan span, const std::string& pdf) {
    const int count = MupdfLayout(pdf).pageCount();
    const bool ends = span.last == 0 || count < span.last - span.first + 1;
    std::lock_guard lock(shared_->mutex);
    shared_->parts.push_back({pdf, shared_->pages, 0, count});
    shared_->pages += count;
    shared_->complete = ends;
    shared_->grown.notify_all();
    return ends;
}

void LayoutInParts::exportRest(std::vector<PageSpan> rest) {
    for (const PageSpan span : rest) {
        {
            std::lock_guard lock(shared_->mutex);
            if (shared_->stopping) return;
        }
        try {
            if (addPart(span, exportPages_(span))) return;
        } catch (const std::exception&) {
            exportWholeForTheRest();
            return;
        }
    }
    std::lock_guard lock(shared_->mutex);
    shared_->complete = true;
    shared_->grown.notify_all();
}

void LayoutInParts::exportWholeForTheRest() {
    Part rest;
    std::string failure;
    try {
        rest.pdf = exportPages_({1, 0});
        rest.count = MupdfLayout(rest.pdf).pageCount();
    } catch (const std::exception& error) {
        failure = error.what();
    }
    std::lock_guard lock(shared_->mutex);
    if (failure.empty() && rest.count > shared_->pages) {
        rest.first = rest.skip = shared_->pages;
        rest.count -= shared_->pages;
        shared_->pages += rest.count;
        shared_->parts.push_back(std::move(rest));
    }
    shared_->failure = failure;
    shared_->complete = true;
    shared_->grown.notify_all();
}

}  // namespace wordhost
