#include "wordhost/StackPages.h"

#include <algorithm>
#include <cstring>

namespace wordhost {

using namespace protocol;

PagePicture stackPages(std::vector<PagePicture> pages) {
    if (pages.size() == 1) return std::move(pages.front());
    PagePicture sheet;
    for (const PagePicture& page : pages) {
        sheet.width = std::max(sheet.width, page.width);
        sheet.height += page.height;
    }
    constexpr std::size_t kPixel = PagePicture::kBytesPerPixel;
    sheet.pixels.assign(static_cast<std::size_t>(sheet.width) * sheet.height * kPixel, '\xFF');
    std::size_t row = 0;
    for (const PagePicture& page : pages) {
        for (int y = 0; y < page.height; ++y, ++row) {
            std::memcpy(sheet.pixels.data() + row * sheet.width * kPixel,
                        page.pixels.data() + std::size_t(y) * page.width * kPixel,
                        std::size_t(page.width) * kPixel);
        }
    }
    return sheet;
}

}  // namespace wordhost
