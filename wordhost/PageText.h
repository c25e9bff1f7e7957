#pragma once

#include <string>
#include <vector>

namespace wordhost {

// A line of text as the PDF reader found it, with its place on the page in points (y downwards).
struct TextPiece {
    float top = 0;
    float bottom = 0;
    float baseline = 0;
    float left = 0;
    std::string text;
};

// The page's lines as they are printed: pieces that stand side by side (table cells, columns,
// tab stops) make one line, left to right; lines run top to bottom, without white space at
// their end and without blank ones. A page without text has one empty line: its paragraph mark.
std::vector<std::string> linesTopToBottom(std::vector<TextPiece> pieces);

}  // namespace wordhost
