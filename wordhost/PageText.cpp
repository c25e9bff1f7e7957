#include "wordhost/PageText.h"

#include <algorithm>
#include <cmath>

namespace wordhost {

namespace {

std::string trimmedEnd(const std::string& text) {
    const std::size_t end = text.find_last_not_of(" \t\r\n\f\v");
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

// Two pieces share a printed line when their baselines lie within half the smaller height.
bool sameLine(const TextPiece& a, const TextPiece& b) {
    const float height = std::min(a.bottom - a.top, b.bottom - b.top);
    return std::fabs(a.baseline - b.baseline) <= std::max(height, 1.0f) / 2;
}

}  // namespace

std::vector<std::string> linesTopToBottom(std::vector<TextPiece> pieces) {
    std::erase_if(pieces, [](const TextPiece& piece) { return trimmedEnd(piece.text).empty(); });
    std::stable_sort(pieces.begin(), pieces.end(),
                     [](const TextPiece& a, const TextPiece& b) { return a.baseline < b.baseline; });
    std::vector<std::string> lines;
    for (std::size_t first = 0; first < pieces.size();) {
        std::size_t last = first + 1;
        while (last < pieces.size() && sameLine(pieces[first], pieces[last])) ++last;
        std::stable_sort(pieces.begin() + std::ptrdiff_t(first), pieces.begin() + std::ptrdiff_t(last),
                         [](const TextPiece& a, const TextPiece& b) { return a.left < b.left; });
        std::string line;
        for (std::size_t i = first; i < last; ++i) {
            if (!line.empty()) line += ' ';
            line += trimmedEnd(pieces[i].text);
        }
        lines.push_back(std::move(line));
        first = last;
    }
    if (lines.empty()) lines.emplace_back();  // the paragraph mark of an empty or picture-only page
    return lines;
}

}  // namespace wordhost
