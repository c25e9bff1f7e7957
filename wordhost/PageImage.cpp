#include "wordhost/PageImage.h"

#include <algorithm>
#include <cstring>

namespace wordhost {

PageImage stackPages(std::vector<PageImage> pages) {
    if (pages.size() == 1) return std::move(pages.front());
    PageImage sheet;
    for (const PageImage& page : pages) {
        sheet.width = std::max(sheet.width, page.width);
        sheet.height += page.height;
    }
    constexpr std::size_t kPixel = PageImage::kBytesPerPixel;
    sheet.pixels.assign(static_cast<std::size_t>(sheet.width) * sheet.height * kPixel, '\xFF');
    std::size_t row = 0;
    for (const PageImage& page : pages) {
        for (int y = 0; y < page.height; ++y, ++row) {
            std::memcpy(sheet.pixels.data() + row * sheet.width * kPixel,
                        page.pixels.data() + std::size_t(y) * page.width * kPixel,
                        std::size_t(page.width) * kPixel);
        }
    }
    return sheet;
}

}  // namespace wordhost
