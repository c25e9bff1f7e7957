#include "wordhost/RenderAhead.h"

#include <algorithm>

#include "wordhost/EngineError.h"
#include "wordhost/GreyPicture.h"

namespace wordhost {

using namespace protocol;

RenderAhead::RenderAhead(const PageLayout& layout) : layout_(layout), worker_([this] { run(); }) {}

RenderAhead::~RenderAhead() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void RenderAhead::prepare(std::vector<int> pages) {
    {
        std::lock_guard lock(mutex_);
        wanted_ = std::move(pages);
        const auto unwanted = [&](const auto& entry) {
            return std::find(wanted_.begin(), wanted_.end(), entry.first) == wanted_.end();
        };
        std::erase_if(ready_, unwanted);
        std::erase_if(lines_, unwanted);
        queue_.clear();
        for (int page : wanted_) {
            if (!ready_.count(page) && page != drawing_) queue_.push_back(page);
        }
    }
    changed_.notify_all();
}

std::optional<std::vector<std::string>> RenderAhead::takeLines(int page) {
    std::lock_guard lock(mutex_);
    const auto found = lines_.find(page);
    if (found == lines_.end()) return std::nullopt;
    std::vector<std::string> lines = std::move(found->second);
    lines_.erase(found);
    return lines;
}

PagePicture RenderAhead::take(int page) {
    std::unique_lock lock(mutex_);
    // Wanted, so that a picture being drawn right now is kept for us.
    if (std::find(wanted_.begin(), wanted_.end(), page) == wanted_.end()) wanted_.push_back(page);
    if (!ready_.count(page) && drawing_ != page) {
        std::erase(queue_, page);
        queue_.push_front(page);
        changed_.notify_all();
    }
    awaited_ = page;
    changed_.wait(lock, [&] { return ready_.count(page) || failed_.count(page); });
    awaited_ = -1;
    if (auto failure = failed_.find(page); failure != failed_.end()) {
        std::exception_ptr error = failure->second;
        failed_.erase(failure);
        std::rethrow_exception(error);
    }
    PagePicture picture = std::move(ready_[page]);
    ready_.erase(page);
    std::erase(wanted_, page);
    return picture;
}

void RenderAhead::run() {
    std::unique_ptr<PageLayout> layout;
    std::exception_ptr openFailure;
    try {
        layout = layout_.openAgain();
    } catch (...) {
        openFailure = std::current_exception();
    }
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
        if (stopping_) return;
        const int page = queue_.front();
        queue_.pop_front();
        drawing_ = page;
        lock.unlock();
        PagePicture picture;
        std::exception_ptr failure = openFailure;
        if (!failure) {
            try {
                picture = layout->render(page);
                packGreyBands(picture);  // here, beside the cuts, not on their way
            } catch (...) {
                failure = std::current_exception();
            }
        }
        lock.lock();
        drawing_ = -1;
        const auto wanted = [&] { return std::find(wanted_.begin(), wanted_.end(), page) != wanted_.end(); };
        if (failure) {
            // Only a take waiting for the page hears of its failure; one drawn ahead is drawn
            // again when it is taken, so that a failure passed since is not reported from before.
            if (page == awaited_) failed_[page] = failure;
        } else if (wanted()) {
            ready_[page] = std::move(picture);
        }
        changed_.notify_all();  // a cut waiting for the picture does not wait for its lines too
        if (failure || !wanted()) continue;
        lock.unlock();
        std::optional<std::vector<std::string>> lines;
        try {
            lines = layout->lines(page);  // from the page just read for drawing
        } catch (const std::exception&) {
            // read again where they are needed, which reports the failure
        }
        lock.lock();
        if (lines && wanted()) lines_[page] = std::move(*lines);
        changed_.notify_all();
    }
}

}  // namespace wordhost
