// The message codec: whatever bytes another process sends, cut into messages in pieces of any
// size. Every message read is written again and must read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "protocol/Message.h"

namespace {

using protocol::Message;

void expectSame(const Message& read, const Message& again) {
    if (!again.is(read.name()) || again.payload() != read.payload()) std::abort();
    for (const auto& [key, value] : read.tokens()) {
        if (protocol::sameName(key, "payload")) continue;  // the length is always the payload's own
        if (again.get(key) != value) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte says how the rest arrives: in pieces of 1 to 256 bytes.
    const std::size_t piece = std::size_t(data[0]) + 1;
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const std::size_t length = size - 1;
    protocol::MessageReader reader;
    try {
        for (std::size_t at = 0; at < length; at += piece) {
            reader.feed(bytes + at, std::min(piece, length - at));
            while (const std::optional<Message> message = reader.next()) {
                protocol::MessageReader again;
                const std::string wire = message->encode();
                again.feed(wire.data(), wire.size());
                const std::optional<Message> reread = again.next();
                if (!reread || !again.empty()) std::abort();
                expectSame(*message, *reread);
            }
        }
    } catch (const protocol::ProtocolError&) {
        // refused: the channel is closed
    }
    return 0;
}
