#pragma once

#include "Image.h"

#include <cstdint>
#include <vector>

namespace nconvert {

// Decodes a whole JPEG file (baseline or progressive; colour or greyscale) into RGB or grey pixels,
// with the resolution of its JFIF header or 150 dpi. Throws ConvertError for anything else.
Image readJpeg(const std::vector<std::uint8_t>& file);

// The resolution in dots per inch that the JFIF header states, or {0, 0} when it states none.
struct Density {
    int dpiX = 0;
    int dpiY = 0;
};
Density readJfifDensity(const std::vector<std::uint8_t>& file);

}  // namespace nconvert
