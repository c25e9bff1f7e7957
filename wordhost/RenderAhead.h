#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "wordhost/Engine.h"
#include "wordhost/StackPages.h"

namespace wordhost {

// Draws the pages the client will ask for next on a thread of its own, while the client is
// still busy with the page before. Holds at most the pages it was asked to prepare.
class RenderAhead {
  public:
    // Draws pages of `layout`, read again on the drawing thread; `layout` outlives this object.
    explicit RenderAhead(const PageLayout& layout);
    ~RenderAhead();
    RenderAhead(const RenderAhead&) = delete;
    RenderAhead& operator=(const RenderAhead&) = delete;

    // The pages to prepare, most urgent first; pictures of other pages are dropped.
    void prepare(std::vector<int> pages);
    // The picture of a page: ready, or drawn now ahead of everything else. Throws EngineError.
    protocol::PagePicture take(int page);
    // The lines of a page drawn ahead, read as it was drawn; nothing when they are not read yet.
    std::optional<std::vector<std::string>> takeLines(int page);

  private:
    void run();

    const PageLayout& layout_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<int> queue_;
    std::vector<int> wanted_;
    std::map<int, protocol::PagePicture> ready_;
    std::map<int, std::vector<std::string>> lines_;
    std::map<int, std::exception_ptr> failed_;  // for the take waiting, until it has seen it
    int drawing_ = -1;
    int awaited_ = -1;  // the page a take is waiting for
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace wordhost
