#include "PcxWriter.h"

#include <algorithm>

namespace nconvert {

namespace {

constexpr std::uint8_t kManufacturer = 0x0A;
constexpr std::uint8_t kVersion5 = 5;
constexpr std::uint8_t kRunLengthEncoding = 1;
constexpr std::uint8_t kPaletteMarker = 0x0C;
constexpr int kHeaderSize = 128;
constexpr int kMaxRun = 63;
constexpr std::uint8_t kRunFlag = 0xC0;

void putWord(std::vector<std::uint8_t>& out, std::size_t offset, int value) {
    out[offset] = static_cast<std::uint8_t>(value & 0xFF);
    out[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

std::vector<std::uint8_t> header(const Image& image, int bytesPerLine) {
    std::vector<std::uint8_t> out(kHeaderSize, 0);
    out[0] = kManufacturer;
    out[1] = kVersion5;
    out[2] = kRunLengthEncoding;
    out[3] = 8;  // bits per pixel in each plane
    putWord(out, 4, 0);
    putWord(out, 6, 0);
    putWord(out, 8, image.width - 1);
    putWord(out, 10, image.height - 1);
    putWord(out, 12, image.dpiX);
    putWord(out, 14, image.dpiY);
    out[65] = static_cast<std::uint8_t>(image.channels);
    putWord(out, 66, bytesPerLine);
    putWord(out, 68, image.channels == 1 ? 2 : 1);  // palette info: 2 grey, 1 colour
    return out;
}

// Runs never cross the end of a plane's line, so every decoder reads the lines alike.
void encodeLine(const std::uint8_t* line, int length, std::vector<std::uint8_t>& out) {
    int i = 0;
    while (i < length) {
        const std::uint8_t value = line[i];
        int run = 1;
        while (i + run < length && run < kMaxRun && line[i + run] == value) ++run;
        if (run > 1 || (value & kRunFlag) == kRunFlag) out.push_back(static_cast<std::uint8_t>(kRunFlag | run));
        out.push_back(value);
        i += run;
    }
}

}  // namespace

std::vector<std::uint8_t> encodePcx(const Image& image) {
    const int bytesPerLine = image.width + (image.width & 1);  // even, as the format asks
    std::vector<std::uint8_t> out = header(image, bytesPerLine);
    // At worst every byte takes two (a light value alone), plus the palette.
    out.reserve(out.size() + static_cast<std::size_t>(bytesPerLine) * image.channels * image.height * 2 + 769);

    std::vector<std::uint8_t> plane(bytesPerLine, 0);  // the padding byte stays 0
    const std::size_t stride = static_cast<std::size_t>(image.width) * image.channels;
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.pixels.data() + stride * y;
        for (int c = 0; c < image.channels; ++c) {
            for (int x = 0; x < image.width; ++x) plane[x] = row[static_cast<std::size_t>(x) * image.channels + c];
            encodeLine(plane.data(), bytesPerLine, out);
        }
    }

    if (image.channels == 1) {
        out.push_back(kPaletteMarker);
        for (int i = 0; i < 256; ++i) out.insert(out.end(), 3, static_cast<std::uint8_t>(i));
    }
    return out;
}

}  // namespace nconvert
