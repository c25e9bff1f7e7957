// Every typed request's decode, on every message another process can send: a request decoded is
// encoded again and must decode to the same.
#include "protocol/Requests.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

template <typename Request>
void decodeAndEncode(const protocol::Message& message) {
    try {
        const Request request = Request::decode(message);
        if (!(Request::decode(request.encode()) == request)) std::abort();
    } catch (const protocol::ProtocolError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    protocol::MessageReader reader;
    reader.feed(reinterpret_cast<const char*>(data), size);
    try {
        while (const std::optional<protocol::Message> message = reader.next()) {
            decodeAndEncode<protocol::HelloRequest>(*message);
            decodeAndEncode<protocol::OpenRequest>(*message);
            decodeAndEncode<protocol::ReadAheadRequest>(*message);
            decodeAndEncode<protocol::PropertyRequest>(*message);
            decodeAndEncode<protocol::SetPageFitRequest>(*message);
            decodeAndEncode<protocol::EndKeyRequest>(*message);
            decodeAndEncode<protocol::GoToRequest>(*message);
            decodeAndEncode<protocol::MoveUpRequest>(*message);
            decodeAndEncode<protocol::CloseRequest>(*message);
        }
    } catch (const protocol::ProtocolError&) {
    }
    return 0;
}
