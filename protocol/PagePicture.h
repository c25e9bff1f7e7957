#pragma once

#include <optional>
#include <string>

#include "protocol/Message.h"

namespace protocol {

// A picture of one or more pages: 32 bits a pixel, 0xffRRGGBB in this machine's byte order (the
// layout Qt calls RGB32; MuPDF draws it as blue, green, red, alpha bytes), rows top to bottom, no padding
// between rows. Held as a string so it can become a message payload, and the client's picture, without a
// copy.
struct PagePicture {
    static constexpr int kBytesPerPixel = 4;
    int width = 0;
    int height = 0;
    std::string pixels;

    bool empty() const { return width == 0 || height == 0; }
};

// The reply to "cut": "ok width=W height=H format=rgb32" with the pixels as payload, or
// "ok empty=1" when there was nothing to cut.
Message cutReply(std::optional<PagePicture> picture);

// The picture of a "cut" reply, its pixels moved out of the reply; nothing for an empty cut.
// Throws ProtocolError when the fields and the pixels do not make one picture.
std::optional<PagePicture> takeCutPicture(Message& reply);

}  // namespace protocol
