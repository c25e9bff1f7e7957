#pragma once

#include <QImage>
#include <cstddef>
#include <optional>
#include <string>

namespace platform {

// A page picture's bands of 16 rows as they came (shared/BandedRows.h): the grey ones as 8 bits
// a pixel. Valid for as long as an image they belong to lives.
struct BandsView {
    const unsigned char* table;
    const unsigned char* bands;
    std::size_t tableBytes;
    std::size_t bandBytes;
};

// The 32-bit picture (RGB32) of banded bands held in `storage` at the given offsets, which keeps
// them beside its pixels: the clipboard, the render surface and the rest take it as any picture,
// and the page picture file and the JPEG find the grey bands without looking for colour again.
// Its pixels are read-only: writing to them copies them, and the copy has no bands. A null
// picture when the table and the bands do not make the picture, or memory is short.
QImage imageFromBands(std::string storage, std::size_t tableOffset, std::size_t bandsOffset, int width,
                      int height);

// Memory for the bands of a picture to come, `bytes` long: that of a picture gone where there is
// one, so reading a page's bands touches no fresh megabytes. Its contents are unspecified.
std::string storageForBands(std::size_t bytes);

// Lets go of the memory kept from pictures gone for the pages to come: at the end of a run.
void releaseSpareMemory();

// The bands `image` was made from, when it is such a picture.
std::optional<BandsView> bandsOf(const QImage& image);

}  // namespace platform
