#pragma once

#include <string>
#include <vector>

namespace wordhost {

// A picture of one or more pages: 32 bits a pixel, 0xffRRGGBB in this machine's byte order (the
// layout Qt calls RGB32 and Poppler draws in), rows top to bottom, no padding between rows. Held as
// a string so it can become a message payload, and the client's picture, without a copy.
struct PageImage {
    static constexpr int kBytesPerPixel = 4;
    int width = 0;
    int height = 0;
    std::string pixels;

    bool empty() const { return width == 0 || height == 0; }
};

// The pages one below the other, left-aligned on white, as wide as the widest.
PageImage stackPages(std::vector<PageImage> pages);

}  // namespace wordhost
