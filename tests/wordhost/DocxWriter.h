#pragma once

#include <string>
#include <vector>

namespace wordhosttest {

// One paragraph of a made-up document.
struct Paragraph {
    std::string text;
    int leftTwips = 0;   // w:ind w:left, negative allowed
    int rightTwips = 0;  // w:ind w:right
    bool pageBreakBefore = false;
};

// Writes a minimal WordprocessingML package (Letter paper, 1 inch margins) with these paragraphs.
void writeDocx(const std::string& path, const std::vector<Paragraph>& paragraphs);

// `pages` pages, each starting with a page break and holding `linesPerPage` short paragraphs.
std::vector<Paragraph> pagedText(int pages, int linesPerPage);

}  // namespace wordhosttest
