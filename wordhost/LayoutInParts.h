#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "wordhost/Engine.h"

namespace wordhost {

// Pages of an export, 1-based; `last` 0 for "to the end of the document". {1, 0} is the whole.
struct PageSpan {
    int first = 1;
    int last = 0;
    bool operator==(const PageSpan&) const = default;
};

// The parts in which a document of about `expectedPages` is exported: one when it is short;
// otherwise a first part of a few pages, so that the first page is ready soon, then parts each
// twice the one before (exported while the one before is converted), the last one open to the end
// (the estimate may fall short of the export).
std::vector<PageSpan> planLayoutParts(int expectedPages);

// "9-40", "41-": a span as the office's print ranges write it.
std::string pageRangeText(PageSpan span);

// A layout exported in parts: the first part before the constructor returns, the others one
// after another on a thread of its own, while the pages exported so far are read and drawn. A part
// that comes back short is the document's last. A part refused after full ones (the document ends
// right before it, or the export failed) makes the whole document exported once, for the pages
// after those already had; when that fails too, the pages after them fail with its description.
class LayoutInParts {
  public:
    // Exports the pages of a span to a PDF and returns its path. Throws EngineError.
    using ExportPages = std::function<std::string(PageSpan)>;

    // Throws EngineError when the first part cannot be exported or read.
    LayoutInParts(ExportPages exportPages, std::vector<PageSpan> plan);
    // Stops after the part being exported; readers waiting for later pages fail.
    ~LayoutInParts();
    LayoutInParts(const LayoutInParts&) = delete;
    LayoutInParts& operator=(const LayoutInParts&) = delete;

    // A reader of the layout for the calling thread; it may outlive this object.
    std::unique_ptr<PageLayout> layout() const;
    // Waits until every part is exported (or the export failed).
    void finish();

    struct Shared;

  private:
    void exportRest(std::vector<PageSpan> rest);
    // Adds a part; true when it ends the document.
    bool addPart(PageSpan span, const std::string& pdf);
    void exportWholeForTheRest();

    ExportPages exportPages_;
    std::shared_ptr<Shared> shared_;
    std::thread worker_;
};

}  // namespace wordhost
