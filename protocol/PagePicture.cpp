#include "protocol/PagePicture.h"

#include <climits>

namespace protocol {

Message cutReply(std::optional<PagePicture> picture) {
    if (!picture) return Message("ok").set("empty", 1);
    const char* format = picture->format == PixelFormat::Grey8 ? "grey8" : "rgb32";
    Message reply =
        Message("ok").set("width", picture->width).set("height", picture->height).set("format", format);
    reply.setPayload(std::move(picture->pixels));
    return reply;
}

std::optional<PagePicture> takeCutPicture(Message& reply) {
    if (reply.getInt("empty", 0) != 0) return std::nullopt;
    const long long width = reply.getInt("width", 0);
    const long long height = reply.getInt("height", 0);
    const std::string format = reply.get("format");
    const int bytesPerPixel = format == "rgb32" ? 4 : format == "grey8" ? 1 : 0;
    // Within what an image of 32-bit rows can address.
    if (bytesPerPixel == 0 || width <= 0 || height <= 0 || width > INT_MAX / 4 || height > INT_MAX ||
        static_cast<long long>(reply.payload().size()) != width * height * bytesPerPixel) {
        throw ProtocolError("a damaged page picture");
    }
    PagePicture picture;
    picture.format = bytesPerPixel == 1 ? PixelFormat::Grey8 : PixelFormat::Rgb32;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels = std::move(reply.payload());
    return picture;
}

}  // namespace protocol
