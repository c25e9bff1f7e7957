#include "protocol/PagePicture.h"

#include <climits>

#include "shared/BandedRows.h"

namespace protocol {

namespace {

const char* formatName(PixelFormat format) {
    switch (format) {
        case PixelFormat::Grey8:
            return "grey8";
        case PixelFormat::Banded:
            return "banded";
        case PixelFormat::Rgb32:
            break;
    }
    return "rgb32";
}

// Whether the payload is exactly the picture the fields describe.
bool pixelsFit(const std::string& pixels, PixelFormat format, long long width, long long height) {
    if (format != PixelFormat::Banded) {
        const long long bytesPerPixel = format == PixelFormat::Grey8 ? 1 : 4;
        return static_cast<long long>(pixels.size()) == width * height * bytesPerPixel;
    }
    const std::size_t bands = shared::bandCount(int(height));
    if (pixels.size() <= bands) return false;
    const auto* table = reinterpret_cast<const unsigned char*>(pixels.data()) + (pixels.size() - bands);
    const std::size_t bytes = shared::bandedBytes(table, int(width), int(height));
    return bytes != 0 && bytes == pixels.size() - bands;
}

}  // namespace

const unsigned char* PagePicture::bandTable() const {
    return reinterpret_cast<const unsigned char*>(pixels.data()) +
           (pixels.size() - shared::bandCount(height));
}

Message cutReply(std::optional<PagePicture> picture) {
    if (!picture) return Message("ok").set("empty", 1);
    Message reply = Message("ok")
                        .set("width", picture->width)
                        .set("height", picture->height)
                        .set("format", formatName(picture->format));
    reply.setPayload(std::move(picture->pixels));
    return reply;
}

std::optional<PagePicture> takeCutPicture(Message& reply) {
    if (reply.getInt("empty", 0) != 0) return std::nullopt;
    const long long width = reply.getInt("width", 0);
    const long long height = reply.getInt("height", 0);
    const std::string name = reply.get("format");
    const bool known = name == "rgb32" || name == "grey8" || name == "banded";
    const PixelFormat format = name == "grey8"    ? PixelFormat::Grey8
                               : name == "banded" ? PixelFormat::Banded
                                                  : PixelFormat::Rgb32;
    // Within what an image of 32-bit rows can address.
    if (!known || width <= 0 || height <= 0 || width > INT_MAX / 4 || height > INT_MAX ||
        !pixelsFit(reply.payload(), format, width, height)) {
        throw ProtocolError("a damaged page picture");
    }
    PagePicture picture;
    picture.format = format;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels = std::move(reply.payload());
    return picture;
}

}  // namespace protocol
