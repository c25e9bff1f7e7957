#include "JpegReader.h"

#include <cmath>

namespace nconvert {

namespace {

constexpr int kDotsPerInch = 1;
constexpr int kDotsPerCentimetre = 2;

int toDpi(int value, int units) {
    if (value <= 0) return 0;
    if (units == kDotsPerInch) return value;
    if (units == kDotsPerCentimetre) return static_cast<int>(std::lround(value * 2.54));
    return 0;  // only an aspect ratio
}

}  // namespace

// Walks the marker segments up to the first scan and reads the JFIF APP0 segment.
Density readJfifDensity(const std::vector<std::uint8_t>& file) {
    const std::size_t size = file.size();
    std::size_t pos = 2;  // after SOI
    while (pos + 4 <= size && file[pos] == 0xFF) {
        const std::uint8_t marker = file[pos + 1];
        if (marker == 0xFF) {  // fill byte
            ++pos;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) break;  // start of scan, end of image
        const std::size_t length = (std::size_t{file[pos + 2]} << 8) | file[pos + 3];
        const std::size_t body = pos + 4;
        if (length < 2 || pos + 2 + length > size) break;
        if (marker == 0xE0 && length >= 16 && file[body] == 'J' && file[body + 1] == 'F' && file[body + 2] == 'I' &&
            file[body + 3] == 'F' && file[body + 4] == 0) {
            const int units = file[body + 7];
            const int x = (file[body + 8] << 8) | file[body + 9];
            const int y = (file[body + 10] << 8) | file[body + 11];
            return Density{toDpi(x, units), toDpi(y, units)};
        }
        pos += 2 + length;
    }
    return Density{};
}

}  // namespace nconvert
