#include "wordhost/StackPages.h"

#include <algorithm>
#include <cstring>

#include "shared/BandedRows.h"
#include "shared/GreyPixels.h"

namespace wordhost {

using namespace protocol;

PagePicture stackPages(std::vector<PagePicture> pages) {
    if (pages.size() == 1) return std::move(pages.front());
    PagePicture sheet;
    // Grey only when every page is: a page with colour makes the whole sheet 32-bit.
    sheet.format = PixelFormat::Grey8;
    for (const PagePicture& page : pages) {
        sheet.width = std::max(sheet.width, page.width);
        sheet.height += page.height;
        if (page.format != PixelFormat::Grey8) sheet.format = PixelFormat::Rgb32;
    }
    sheet.pixels.assign(sheet.bytesPerRow() * std::size_t(sheet.height), '\xFF');
    std::size_t row = 0;
    for (const PagePicture& page : pages) {
        if (page.format == PixelFormat::Banded) {
            shared::widenBands(
                page.bandTable(), reinterpret_cast<const unsigned char*>(page.pixels.data()), page.width,
                page.height,
                reinterpret_cast<unsigned char*>(sheet.pixels.data()) + row * sheet.bytesPerRow(),
                sheet.bytesPerRow());
            row += std::size_t(page.height);
            continue;
        }
        for (int y = 0; y < page.height; ++y, ++row) {
            const char* from = page.pixels.data() + std::size_t(y) * page.bytesPerRow();
            char* to = sheet.pixels.data() + row * sheet.bytesPerRow();
            if (page.format == sheet.format) {
                std::memcpy(to, from, page.bytesPerRow());
            } else {
                shared::widenGreyPixels(reinterpret_cast<const unsigned char*>(from), std::size_t(page.width),
                                        reinterpret_cast<unsigned char*>(to));
            }
        }
    }
    return sheet;
}

}  // namespace wordhost
