#include "wordhost/GreyPicture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace wordhost {

using namespace protocol;

namespace {

// Packs the low byte of each word and tells whether every word had blue, green and red alike.
// Checked a stretch at a time, so a page with colour near its top costs little, and the loop
// within a stretch has no branch to keep it from being vectorised.
bool packGrey(const unsigned char* words, std::size_t count, unsigned char* grey) {
    constexpr std::size_t kStretch = 512;
    for (std::size_t start = 0; start < count; start += kStretch) {
        const std::size_t end = std::min(count, start + kStretch);
        std::uint32_t differ = 0;
        for (std::size_t i = start; i < end; ++i) {
            std::uint32_t pixel;
            std::memcpy(&pixel, words + 4 * i, sizeof pixel);
            differ |= (pixel ^ (pixel >> 8)) & 0xFFFFu;  // blue against green, green against red
            grey[i] = static_cast<unsigned char>(pixel);
        }
        if (differ != 0) return false;
    }
    return true;
}

}  // namespace

void makeGreyIfColourless(PagePicture& picture) {
    if (picture.format != PixelFormat::Rgb32 || picture.empty()) return;
    const std::size_t count = std::size_t(picture.width) * std::size_t(picture.height);
    if (picture.pixels.size() != count * 4) return;
    std::string grey(count, '\0');
    const auto* words = reinterpret_cast<const unsigned char*>(picture.pixels.data());
    if (!packGrey(words, count, reinterpret_cast<unsigned char*>(grey.data()))) return;
    picture.pixels = std::move(grey);
    picture.format = PixelFormat::Grey8;
}

void greyRowToRgb32(const unsigned char* grey, int width, unsigned char* rgb32) {
    for (int x = 0; x < width; ++x) {
        const std::uint32_t value = grey[x];
        const std::uint32_t word = 0xFF000000u | value << 16 | value << 8 | value;
        std::memcpy(rgb32 + 4 * std::size_t(x), &word, sizeof word);
    }
}

}  // namespace wordhost
