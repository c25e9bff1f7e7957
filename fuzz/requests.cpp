// Every typed request's decode, on every message another process can send: a request decoded is
// encoded again and must decode to the same.
#include "protocol/Requests.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

template <typename Request>
void decodeAndEncode(const wordhost::Message& message) {
    try {
        const Request request = Request::decode(message);
        if (!(Request::decode(request.encode()) == request)) std::abort();
    } catch (const wordhost::ProtocolError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wordhost::MessageReader reader;
    reader.feed(reinterpret_cast<const char*>(data), size);
    try {
        while (const std::optional<wordhost::Message> message = reader.next()) {
            decodeAndEncode<wordhost::HelloRequest>(*message);
            decodeAndEncode<wordhost::OpenRequest>(*message);
            decodeAndEncode<wordhost::ReadAheadRequest>(*message);
            decodeAndEncode<wordhost::PropertyRequest>(*message);
            decodeAndEncode<wordhost::SetPageFitRequest>(*message);
            decodeAndEncode<wordhost::EndKeyRequest>(*message);
            decodeAndEncode<wordhost::GoToRequest>(*message);
            decodeAndEncode<wordhost::MoveUpRequest>(*message);
            decodeAndEncode<wordhost::CloseRequest>(*message);
        }
    } catch (const wordhost::ProtocolError&) {
    }
    return 0;
}
