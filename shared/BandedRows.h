#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "shared/GreyPixels.h"

namespace shared {

// A 32-bit picture (0xffRRGGBB words) held in bands of 16 rows: a band without colour as its grey
// bytes, one with colour as its 32-bit rows. A page of black text with a coloured heading is then
// little more than its grey picture. The bands follow each other top to bottom; beside them a
// table of one byte a band, 1 where the band has colour, 0 where it is grey.
constexpr int kBandRows = 16;

inline std::size_t bandCount(int height) { return (std::size_t(height) + kBandRows - 1) / kBandRows; }

inline int rowsOfBand(std::size_t band, int height) {
    return std::min(kBandRows, height - int(band) * kBandRows);
}

// The bytes of the bands a table describes, or 0 when an entry is neither 0 nor 1.
inline std::size_t bandedBytes(const unsigned char* table, int width, int height) {
    std::size_t bytes = 0;
    for (std::size_t band = 0; band < bandCount(height); ++band) {
        if (table[band] > 1) return 0;
        bytes += std::size_t(rowsOfBand(band, height)) * std::size_t(width) * (table[band] != 0 ? 4 : 1);
    }
    return bytes;
}

// The 32-bit rows of banded bands, `bytesPerLine` apart.
inline void widenBands(const unsigned char* table, const unsigned char* bands, int width, int height,
                       unsigned char* rows, std::size_t bytesPerLine) {
    const std::size_t rowBytes = std::size_t(width) * 4;
    for (int row = 0; row < height; ++row) {
        const bool colour = table[row / kBandRows] != 0;
        unsigned char* to = rows + std::size_t(row) * bytesPerLine;
        if (colour) {
            std::memcpy(to, bands, rowBytes);
        } else {
            widenGreyPixels(bands, std::size_t(width), to);
        }
        bands += colour ? rowBytes : std::size_t(width);
    }
}

// Packs a 32-bit picture's rows, without gaps between them, into its bands where they were: each
// band moves down to where the bands before it end, so the picture's own memory holds them and no
// fresh megabytes are touched. Fills `table` and returns the bytes of the bands.
inline std::size_t packBandsInPlace(unsigned char* pixels, int width, int height, std::string& table) {
    table.assign(bandCount(height), '\0');
    const std::size_t rowBytes = std::size_t(width) * 4;
    thread_local std::string grey;  // one band's grey bytes: a band is looked at whole before it moves
    grey.resize(std::size_t(kBandRows) * std::size_t(width));
    auto* greyBytes = reinterpret_cast<unsigned char*>(grey.data());
    std::size_t packed = 0;
    for (std::size_t band = 0; band < table.size(); ++band) {
        const int rows = rowsOfBand(band, height);
        const unsigned char* from = pixels + band * kBandRows * rowBytes;
        const bool isGrey =
            packGreyRows(from, rowBytes, rows, std::size_t(width), greyBytes, std::size_t(width));
        const std::size_t bytes = std::size_t(rows) * (isGrey ? std::size_t(width) : rowBytes);
        std::memmove(pixels + packed, isGrey ? greyBytes : from, bytes);
        table[band] = isGrey ? '\0' : '\1';
        packed += bytes;
    }
    return packed;
}

}  // namespace shared
