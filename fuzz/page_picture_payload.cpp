// The page picture of a cut reply, as the client takes it from whatever the host sent: a picture
// taken holds exactly its rows, and makes the same reply again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "protocol/PagePicture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wordhost::MessageReader reader;
    reader.feed(reinterpret_cast<const char*>(data), size);
    try {
        while (std::optional<wordhost::Message> reply = reader.next()) {
            std::optional<wordhost::PagePicture> picture = wordhost::takeCutPicture(*reply);
            if (!picture) continue;
            const std::size_t row = std::size_t(picture->width) * wordhost::PagePicture::kBytesPerPixel;
            if (picture->empty() || picture->pixels.size() != row * std::size_t(picture->height))
                std::abort();
            const std::string pixels = picture->pixels;
            wordhost::Message again = wordhost::cutReply(std::move(picture));
            const std::optional<wordhost::PagePicture> retaken = wordhost::takeCutPicture(again);
            if (!retaken || retaken->pixels != pixels) std::abort();
        }
    } catch (const wordhost::ProtocolError&) {
    }
    return 0;
}
