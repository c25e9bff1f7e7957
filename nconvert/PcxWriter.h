#pragma once

#include "Image.h"

#include <cstdint>
#include <vector>

namespace nconvert {

// The whole PCX file (ZSoft version 5, run-length encoded) of an image: 24-bit colour as three
// 8-bit planes, grey as one 8-bit plane with a grey 256-entry palette at the end.
std::vector<std::uint8_t> encodePcx(const Image& image);

}  // namespace nconvert
