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
    sheet.rgb.assign(static_cast<std::size_t>(sheet.width) * sheet.height * 3, '\xFF');
    std::size_t row = 0;
    for (const PageImage& page : pages) {
        for (int y = 0; y < page.height; ++y, ++row) {
            std::memcpy(sheet.rgb.data() + row * sheet.width * 3,
                        page.rgb.data() + std::size_t(y) * page.width * 3, std::size_t(page.width) * 3);
        }
    }
    return sheet;
}

}  // namespace wordhost
