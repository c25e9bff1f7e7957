#pragma once

#include "protocol/Message.h"

namespace protocol {

// The message as the other side reads it: written to bytes and cut out of them again.
inline Message overTheWire(const Message& message) {
    MessageReader reader;
    const std::string wire = message.encode();
    reader.feed(wire.data(), wire.size());
    const auto received = reader.next();
    return received ? *received : Message("lost");
}

}  // namespace protocol
