// The indent payloads: the paragraphs reply, the indent writes and the writes refused. What
// decodes is written again; that text must decode to itself (numbers keep their value).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "protocol/Indents.h"
#include "protocol/Message.h"

namespace {

std::string encodeEdits(const std::vector<protocol::IndentEdit>& edits) {
    std::string payload;
    for (const protocol::IndentEdit& edit : edits) protocol::appendIndentEdit(payload, edit);
    return payload;
}

template <typename Decode, typename Encode>
void roundTrip(const std::string& payload, Decode decode, Encode encode) {
    try {
        const std::string once = encode(decode(payload));
        if (encode(decode(once)) != once) std::abort();
    } catch (const protocol::ProtocolError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string payload(reinterpret_cast<const char*>(data), size);
    roundTrip(payload, protocol::decodeIndents, protocol::encodeIndents);
    roundTrip(payload, protocol::decodeIndentEdits, encodeEdits);
    roundTrip(payload, protocol::decodeIndentWriteFailures, protocol::encodeIndentWriteFailures);
    return 0;
}
