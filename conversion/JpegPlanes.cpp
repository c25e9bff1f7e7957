#include "conversion/JpegPlanes.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/BandedImage.h"
#include "shared/BandedRows.h"
#include "shared/GreyPixels.h"

namespace SaveAsJPG {

namespace {

// Kept for the thread's next page: fresh megabytes cost a page fault for every 4 KB.
struct PlaneBuffers {
    std::vector<unsigned char> brightness;
    std::vector<unsigned char> blue;
    std::vector<unsigned char> red;
    std::vector<unsigned char> neutral;  // 128 throughout, for grey pictures' two colour planes
};

PlaneBuffers& planeBuffers() {
    thread_local PlaneBuffers buffers;
    return buffers;
}

int padded(int size) { return size + (size & 1); }

// A banded picture's bands are one row of 4:2:0 blocks each: the colour planes' rows of a band
// belong to it alone.
using shared::kBandRows;

bool greyPixel(const unsigned char* pixel) { return pixel[0] == pixel[1] && pixel[1] == pixel[2]; }

// The encoder pads a whole picture to whole blocks with its edge pixels before it halves the
// colour, and planes only with their edge samples: the two agree where the edge pixels have no
// colour, as the paper's margins have none. Checked on the last two columns and rows.
bool edgesAreGrey(const QImage& picture) {
    const int width = picture.width();
    const int height = picture.height();
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = picture.constScanLine(y);
        const bool bottom = y >= height - 2;
        for (int x = bottom ? 0 : std::max(0, width - 2); x < width; ++x) {
            if (!greyPixel(row + 4 * std::size_t(x))) return false;
        }
    }
    return true;
}

}  // namespace

JpegPlanes greyPlanes(const QImage& picture) {
    const int width = picture.width();
    const int height = picture.height();
    const int paddedWidth = padded(width);
    const int paddedHeight = padded(height);
    PlaneBuffers& buffers = planeBuffers();
    const unsigned char* brightness = picture.constBits();
    int brightnessStride = static_cast<int>(picture.bytesPerLine());
    if (paddedWidth != width || paddedHeight != height) {
        buffers.brightness.resize(std::size_t(paddedWidth) * std::size_t(paddedHeight));
        for (int y = 0; y < paddedHeight; ++y) {
            const unsigned char* from = picture.constScanLine(std::min(y, height - 1));
            unsigned char* to = buffers.brightness.data() + std::size_t(y) * std::size_t(paddedWidth);
            std::memcpy(to, from, std::size_t(width));
            if (paddedWidth != width) to[width] = from[width - 1];
        }
        brightness = buffers.brightness.data();
        brightnessStride = paddedWidth;
    }
    const std::size_t colourSamples = std::size_t(paddedWidth / 2) * std::size_t(paddedHeight / 2);
    if (buffers.neutral.size() < colourSamples) buffers.neutral.assign(colourSamples, 128);
    return {{brightness, buffers.neutral.data(), buffers.neutral.data()},
            {brightnessStride, paddedWidth / 2, paddedWidth / 2}};
}

std::optional<JpegPlanes> bandedPlanes(tjhandle encoder, const QImage& picture) {
    if (!edgesAreGrey(picture)) return std::nullopt;
    const int width = picture.width();
    const int height = picture.height();
    const std::size_t brightnessStride = std::size_t(padded(width));
    const std::size_t colourStride = brightnessStride / 2;
    PlaneBuffers& buffers = planeBuffers();
    buffers.brightness.resize(brightnessStride * std::size_t(padded(height)));
    buffers.blue.resize(colourStride * std::size_t(padded(height) / 2));
    buffers.red.resize(buffers.blue.size());
    const auto brightnessRow = [&](int y) {
        return buffers.brightness.data() + std::size_t(y) * brightnessStride;
    };
    // Rows with colour go to the encoder as one run, however many bands they span: each call
    // sets up a conversion of its own.
    const auto convertColour = [&](int top, int rows) {
        const std::size_t colourOffset = std::size_t(top / 2) * colourStride;
        unsigned char* planes[3] = {brightnessRow(top), buffers.blue.data() + colourOffset,
                                    buffers.red.data() + colourOffset};
        int strides[3] = {int(brightnessStride), int(colourStride), int(colourStride)};
        return rows == 0 ||
               tjEncodeYUVPlanes(encoder, picture.constScanLine(top), width, int(picture.bytesPerLine()),
                                 rows, TJPF_BGRX, planes, strides, TJSAMP_420, TJFLAG_ACCURATEDCT) == 0;
    };
    // A picture made from bands says which are grey, and holds their bytes.
    const std::optional<platform::BandsView> known = platform::bandsOf(picture);
    const unsigned char* bandBytes = known ? known->bands : nullptr;
    const auto greyBand = [&](int top, int rows) {
        if (!known) {
            return shared::packGreyRows(picture.constScanLine(top), std::size_t(picture.bytesPerLine()), rows,
                                        std::size_t(width), brightnessRow(top), brightnessStride);
        }
        const bool grey = known->table[top / kBandRows] == 0;
        for (int row = 0; grey && row < rows; ++row)
            std::memcpy(brightnessRow(top + row), bandBytes + std::size_t(row) * std::size_t(width),
                        std::size_t(width));
        bandBytes += std::size_t(rows) * std::size_t(width) * (grey ? 1 : 4);
        return grey;
    };
    int colourTop = 0;
    int colourRows = 0;
    for (int top = 0; top < height; top += kBandRows) {
        const int rows = std::min(kBandRows, height - top);
        const bool grey = greyBand(top, rows);
        if (!grey) {
            if (colourRows == 0) colourTop = top;
            colourRows += rows;
            continue;
        }
        if (!convertColour(colourTop, colourRows)) return std::nullopt;
        colourRows = 0;
        if (brightnessStride != std::size_t(width)) {
            for (int row = top; row < top + rows; ++row)
                brightnessRow(row)[width] = brightnessRow(row)[width - 1];
        }
        const int paddedRows = top + rows == height ? padded(rows) : rows;  // only the last band is odd
        if (paddedRows != rows)
            std::memcpy(brightnessRow(top + rows), brightnessRow(top + rows - 1), brightnessStride);
        const std::size_t colourOffset = std::size_t(top / 2) * colourStride;
        const std::size_t colourBytes = std::size_t(paddedRows / 2) * colourStride;
        std::memset(buffers.blue.data() + colourOffset, 128, colourBytes);
        std::memset(buffers.red.data() + colourOffset, 128, colourBytes);
    }
    if (!convertColour(colourTop, colourRows)) return std::nullopt;
    return JpegPlanes{{buffers.brightness.data(), buffers.blue.data(), buffers.red.data()},
                      {int(brightnessStride), int(colourStride), int(colourStride)}};
}

}  // namespace SaveAsJPG
