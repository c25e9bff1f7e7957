#include "wordhost/Selection.h"

#include <algorithm>

namespace wordhost {

void Selection::goToPage(int page) {
    if (page <= 1 || document_.hasPage(page - 1)) {
        collapseTo({std::max(page, 1) - 1, 0});
        return;
    }
    const int pages = document_.pages();  // past the last page: to the last page
    collapseTo({std::max(pages, 1) - 1, 0});
}

void Selection::moveUp(int count, bool extend) {
    Position at = clamped(active_);
    int left = std::max(count, 0);
    while (left > 0) {
        if (at.line >= left) {
            at.line -= left;
            break;
        }
        left -= at.line;
        at.line = 0;
        if (at.page == 0) break;
        // One line up from the top of a page is the last line of the page before.
        --at.page;
        at.line = static_cast<int>(document_.lines(at.page).size()) - 1;
        --left;
    }
    active_ = at;
    if (!extend) anchor_ = active_;
}

void Selection::endOfDocument(bool extend) {
    active_ = endOfDocument();
    if (!extend) anchor_ = active_;
}

void Selection::collapseTo(Position position) { anchor_ = active_ = clamped(position); }

void Selection::clamp() {
    anchor_ = clamped(anchor_);
    active_ = clamped(active_);
}

Position Selection::clamped(Position position) {
    if (!document_.hasPage(position.page)) return {std::max(document_.pages(), 0), 0};
    const int lines = static_cast<int>(document_.lines(position.page).size());
    if (position.line >= lines) return {position.page + 1, 0};
    return {position.page, std::max(position.line, 0)};
}

std::string Selection::text() {
    clamp();
    std::string text;
    Position at = start();
    const Position stop = end();
    while (at < stop) {
        const std::vector<std::string>& lines = document_.lines(at.page);
        text += lines[static_cast<std::size_t>(at.line)];
        text += '\r';
        if (++at.line >= static_cast<int>(lines.size())) at = {at.page + 1, 0};
    }
    return text;
}

std::optional<std::pair<int, int>> Selection::pages() const {
    const Position first = start();
    const Position last = end();
    if (first == last) return std::nullopt;
    // A selection that ends at the start of a page does not reach into that page.
    return std::make_pair(first.page, last.line == 0 ? last.page - 1 : last.page);
}

}  // namespace wordhost
