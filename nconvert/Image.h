#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace nconvert {

// A decoded picture: rows top to bottom, `channels` bytes per pixel (1 grey, 3 RGB), no row padding.
struct Image {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<std::uint8_t> pixels;
    int dpiX = 0;
    int dpiY = 0;
};

// Any failure of a conversion; the message is the one line the user sees.
class ConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace nconvert
