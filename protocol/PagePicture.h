#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "protocol/Message.h"

namespace protocol {

// How a picture's pixels are laid out.
enum class PixelFormat {
    // 32 bits a pixel, 0xffRRGGBB in this machine's byte order (the layout Qt calls RGB32; MuPDF
    // draws it as blue, green, red, alpha bytes).
    Rgb32,
    // 8 bits a pixel, for a picture without colour (every pixel's red, green and blue alike): a
    // page of black text on white travels as a quarter of the bytes, and means the same pixels.
    Grey8,
    // 32-bit pixels in bands of 16 rows, the grey ones as 8 bits a pixel (shared/BandedRows.h): the
    // bands top to bottom, then the band table. A page with a coloured heading travels as a little
    // more than a grey one.
    Banded,
};

// A picture of one or more pages, rows top to bottom, no padding between rows. Held as a string
// so it can become a message payload, and the client's picture, without a copy.
struct PagePicture {
    static constexpr int kMostBytesPerPixel = 4;
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Rgb32;
    std::string pixels;

    bool empty() const { return width == 0 || height == 0; }
    // Of a banded picture, those of its rows widened.
    int bytesPerPixel() const { return format == PixelFormat::Grey8 ? 1 : 4; }
    std::size_t bytesPerRow() const { return std::size_t(width) * std::size_t(bytesPerPixel()); }
    // A banded picture's table, at the end of its pixels.
    const unsigned char* bandTable() const;
};

// The reply to "cut": "ok width=W height=H format=rgb32" (or "format=grey8", "format=banded") with the pixels
// as payload, or "ok empty=1" when there was nothing to cut.
Message cutReply(std::optional<PagePicture> picture);

// The picture of a "cut" reply, its pixels moved out of the reply; nothing for an empty cut.
// Throws ProtocolError when the fields and the pixels do not make one picture.
std::optional<PagePicture> takeCutPicture(Message& reply);

}  // namespace protocol
