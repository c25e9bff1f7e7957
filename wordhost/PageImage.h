#pragma once

#include <string>
#include <vector>

namespace wordhost {

// A picture of one or more pages: 24-bit RGB, rows top to bottom, no padding between rows.
// Held as a string so it can become a message payload without a copy.
struct PageImage {
    int width = 0;
    int height = 0;
    std::string rgb;

    bool empty() const { return width == 0 || height == 0; }
};

// The pages one below the other, left-aligned on white, as wide as the widest.
PageImage stackPages(std::vector<PageImage> pages);

}  // namespace wordhost
