#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "protocol/Indents.h"
#include "wordhost/Engine.h"
#include "wordhost/Selection.h"
#include "wordhost/StackPages.h"

namespace wordhost {

class RenderAhead;

// One open document as Word would show it to the conversion: the document loaded in the engine,
// its page layout, its paragraphs, and a selection over the pages not cut yet.
class WordDocument : private PageLines {
  public:
    // `shownPath` names the document in the host's diagnostics.
    WordDocument(std::unique_ptr<LoadedDocument> loaded, std::string shownPath);
    ~WordDocument() override;

    void repaginate();
    int pageCount();  // of what is left of the document

    // The paragraphs of the main text with their left and right indents, in points.
    std::vector<protocol::ParagraphIndents> paragraphIndents();
    // Sets an indent in the loaded document; the layout follows at the next call that needs its
    // pages or lines. Throws EngineError.
    void setIndent(std::size_t paragraph, bool left, double points);

    void goToPage(int page);
    void moveUp(int lines, bool extend);
    void endOfDocument(bool extend);
    std::string selectionText();
    // Removes the pages the selection stands on and returns their picture (nothing for an
    // insertion point); the insertion point is then where they were.
    std::optional<protocol::PagePicture> cut();

  private:
    int pages() override;
    bool hasPage(int page) override;
    const std::vector<std::string>& lines(int page) override;

    void ensureLayout();
    void layOut();
    // Takes in the pages of the layout exported since; with `waitForAll` all of them.
    void takeNewPages(bool waitForAll);
    void prepareNextPages();

    std::unique_ptr<LoadedDocument> loaded_;
    std::string shownPath_;
    std::unique_ptr<PageLayout> layout_;
    std::unique_ptr<RenderAhead> renderer_;
    std::map<int, std::vector<std::string>> linesRead_;  // layout pages' lines, read while drawing them
    std::vector<int> remaining_;                         // layout pages still in the document
    int pagesTaken_ = 0;                                 // layout pages looked at for remaining_
    bool allPagesTaken_ = false;
    std::set<int> cut_;     // layout pages cut so far
    bool changed_ = false;  // indents written since the last layout
    Selection selection_;
};

}  // namespace wordhost
