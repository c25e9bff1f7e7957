#include "wordhost/GreyPicture.h"

#include <cstddef>
#include <string>

#include "shared/BandedRows.h"

namespace wordhost {

using namespace protocol;

void packGreyBands(PagePicture& picture) {
    if (picture.format != PixelFormat::Rgb32 || picture.empty()) return;
    if (picture.pixels.size() != std::size_t(picture.width) * std::size_t(picture.height) * 4) return;
    std::string table;
    const std::size_t packed = shared::packBandsInPlace(
        reinterpret_cast<unsigned char*>(picture.pixels.data()), picture.width, picture.height, table);
    if (table.find('\0') == std::string::npos)
        return;  // colour in every band: the rows stayed where they were
    picture.pixels.resize(packed);
    if (table.find('\1') == std::string::npos) {
        picture.format = PixelFormat::Grey8;
        return;
    }
    picture.pixels += table;
    picture.format = PixelFormat::Banded;
}

}  // namespace wordhost
