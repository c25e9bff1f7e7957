// The page picture of a cut reply, as the client takes it from whatever the host sent: a picture
// taken holds exactly its rows, and makes the same reply again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "protocol/PagePicture.h"
#include "shared/BandedRows.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    protocol::MessageReader reader;
    reader.feed(reinterpret_cast<const char*>(data), size);
    try {
        while (std::optional<protocol::Message> reply = reader.next()) {
            std::optional<protocol::PagePicture> picture = protocol::takeCutPicture(*reply);
            if (!picture) continue;
            const std::size_t row = picture->bytesPerRow();
            if (picture->empty()) std::abort();
            if (picture->format == protocol::PixelFormat::Banded) {
                const std::size_t table = shared::bandCount(picture->height);
                if (shared::bandedBytes(picture->bandTable(), picture->width, picture->height) + table !=
                    picture->pixels.size())
                    std::abort();
            } else if (picture->pixels.size() != row * std::size_t(picture->height)) {
                std::abort();
            }
            const std::string pixels = picture->pixels;
            const protocol::PixelFormat format = picture->format;
            protocol::Message again = protocol::cutReply(std::move(picture));
            const std::optional<protocol::PagePicture> retaken = protocol::takeCutPicture(again);
            if (!retaken || retaken->pixels != pixels || retaken->format != format) std::abort();
        }
    } catch (const protocol::ProtocolError&) {
    }
    return 0;
}
