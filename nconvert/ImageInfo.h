#pragma once

namespace nconvert {

// What the encoder needs to know of a picture before its first row.
struct ImageInfo {
    int width = 0;
    int height = 0;
    int channels = 0;  // 1 grey, 3 RGB
    int dpiX = 0;
    int dpiY = 0;
};

}  // namespace nconvert
