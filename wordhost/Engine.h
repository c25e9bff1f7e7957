#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "protocol/Indents.h"
#include "wordhost/StackPages.h"

namespace wordhost {

// One export of a document's layout: its pages, their text lines and their pictures. An object
// serves one thread; another thread reads the same export through openAgain(). An export may still
// be under way: its pages are read as they come, and a page not exported yet is waited for.
class PageLayout {
  public:
    struct ReadyPages {
        int count = 0;     // pages 0 to count - 1 can be read without waiting
        bool all = false;  // and they are all the layout has
    };

    virtual ~PageLayout() = default;
    // Waits for the end of the export. Throws EngineError when it failed.
    virtual int pageCount() const = 0;
    virtual ReadyPages readyPages() const { return {pageCount(), true}; }
    // The text lines of a page, top to bottom; at least one (a page always holds a paragraph mark).
    virtual const std::vector<std::string>& lines(int page) = 0;
    // Width and height of the page's picture, without drawing it.
    virtual std::pair<int, int> pictureSize(int page) const = 0;
    // The page's picture. Throws EngineError.
    virtual protocol::PagePicture render(int page) const = 0;
    // A reader of the same export for another thread; callable from any thread. Throws EngineError.
    virtual std::unique_ptr<PageLayout> openAgain() const = 0;
};

// A document loaded in the engine: its paragraphs and indents, the engine's own page count, and
// exports of its layout with every change made so far.
class LoadedDocument {
  public:
    virtual ~LoadedDocument() = default;
    // The pages of the engine's own layout, without an export. Throws EngineError.
    virtual int enginePageCount() = 0;
    // The paragraphs of the main text and its table cells, in order, with their indents in points.
    virtual const std::vector<protocol::ParagraphIndents>& indents() = 0;
    // Sets an indent of the loaded document; laid out at the next export. Throws EngineError.
    virtual void setIndent(std::size_t paragraph, bool left, double points) = 0;
    // Lays the document out as it is now. Throws EngineError.
    virtual std::unique_ptr<PageLayout> exportLayout() = 0;
};

// The document engine as the host uses it. All calls come from one thread.
class Engine {
  public:
    virtual ~Engine() = default;
    // Opens a private copy of the document at `path` in `workFolder`, which belongs to the
    // document from then on (removed with it). Throws EngineError naming the path.
    virtual std::unique_ptr<LoadedDocument> open(const std::string& workFolder, const std::string& path) = 0;
    // Lays out a small document of its own in `workFolder` so that the first real one loads faster.
    virtual void warmUp(const std::string& workFolder) = 0;
};

}  // namespace wordhost
