#include "wordhost/GreyPicture.h"

#include <cstddef>
#include <string>

#include "shared/GreyPixels.h"

namespace wordhost {

using namespace protocol;

void makeGreyIfColourless(PagePicture& picture) {
    if (picture.format != PixelFormat::Rgb32 || picture.empty()) return;
    const std::size_t count = std::size_t(picture.width) * std::size_t(picture.height);
    if (picture.pixels.size() != count * 4) return;
    std::string grey(count, '\0');
    const auto* words = reinterpret_cast<const unsigned char*>(picture.pixels.data());
    if (!shared::packGreyPixels(words, count, reinterpret_cast<unsigned char*>(grey.data()))) return;
    picture.pixels = std::move(grey);
    picture.format = PixelFormat::Grey8;
}

}  // namespace wordhost
