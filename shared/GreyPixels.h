#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace shared {

// Packs the low byte of each 32-bit pixel (0xffRRGGBB words, blue first in memory) into `grey`
// and tells whether every pixel had blue, green and red alike; on false, `grey` holds only part
// of the pixels. Checked a stretch at a time, so colour near the start costs little, and the
// loop within a stretch has no branch to keep it from being vectorised (build it at -O3).
inline bool packGreyPixels(const unsigned char* words, std::size_t count, unsigned char* grey) {
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

// Packs `rows` rows of a 32-bit picture (`bytesPerLine` apart) into grey rows `toStride` apart, and
// tells whether they all were without colour; stops at the first row with colour.
inline bool packGreyRows(const unsigned char* first, std::size_t bytesPerLine, int rows, std::size_t width,
                         unsigned char* to, std::size_t toStride) {
    for (int row = 0; row < rows; ++row) {
        if (!packGreyPixels(first + std::size_t(row) * bytesPerLine, width, to + std::size_t(row) * toStride))
            return false;
    }
    return true;
}

// Widens grey bytes to 32-bit pixels (0xffRRGGBB words, red, green and blue each the grey).
inline void widenGreyPixels(const unsigned char* grey, std::size_t count, unsigned char* words) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t value = grey[i];
        const std::uint32_t word = 0xFF000000u | value << 16 | value << 8 | value;
        std::memcpy(words + 4 * i, &word, sizeof word);
    }
}

}  // namespace shared
