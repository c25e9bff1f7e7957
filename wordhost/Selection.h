#pragma once

#include <compare>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace wordhost {

// What the selection sees of the document: the pages still in it and their text lines.
class PageLines {
  public:
    virtual ~PageLines() = default;
    virtual int pages() = 0;
    // Whether page `page` (0-based) is there; cheaper than pages() where the count is not known yet.
    virtual bool hasPage(int page) { return page >= 0 && page < pages(); }
    // The lines of page `page` (0-based among the remaining pages); at least one.
    virtual const std::vector<std::string>& lines(int page) = 0;
};

// A place in the document: the start of line `line` of page `page`. The end of the document is
// {pages(), 0}.
struct Position {
    int page = 0;
    int line = 0;
    auto operator<=>(const Position&) const = default;
};

// Word's selection over the laid-out document, in whole lines: an anchor and an active end.
class Selection {
  public:
    explicit Selection(PageLines& document) : document_(document) {}

    // An insertion point at the start of page `page` (1-based), clamped to the first and last page.
    void goToPage(int page);
    // Moves the active end up by `count` lines, stopping at the start of the document; without
    // `extend` the selection becomes an insertion point there.
    void moveUp(int count, bool extend);
    // Moves the active end to the end of the document.
    void endOfDocument(bool extend);
    void collapseTo(Position position);
    // Keeps both ends inside the document after it changed.
    void clamp();

    Position start() const { return std::min(anchor_, active_); }
    Position end() const { return std::max(anchor_, active_); }
    // The selected lines, each ended by "\r" like Word's paragraph marks.
    std::string text();
    // The first and last page (0-based) that selected lines stand on; nothing for an insertion point.
    std::optional<std::pair<int, int>> pages() const;

  private:
    Position endOfDocument() { return {document_.pages(), 0}; }
    Position clamped(Position position);

    PageLines& document_;
    Position anchor_;
    Position active_;
};

}  // namespace wordhost
