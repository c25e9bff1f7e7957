#include "protocol/Requests.h"

namespace protocol {

Message HelloRequest::encode() const { return Message(kName).set("version", version); }

HelloRequest HelloRequest::decode(const Message& message) { return {message.getInt("version", 0)}; }

Message OpenRequest::encode() const { return Message(kName).set("path", path); }

OpenRequest OpenRequest::decode(const Message& message) { return {message.get("path")}; }

Message ReadAheadRequest::encode() const { return Message(kName).set("path", path); }

ReadAheadRequest ReadAheadRequest::decode(const Message& message) { return {message.get("path")}; }

Message PropertyRequest::encode() const { return Message(kName).set("index", index); }

PropertyRequest PropertyRequest::decode(const Message& message) { return {message.getInt("index")}; }

Message SetPageFitRequest::encode() const { return Message(kName).set("value", value); }

SetPageFitRequest SetPageFitRequest::decode(const Message& message) { return {message.getInt("value")}; }

Message EndKeyRequest::encode() const { return Message(kName).set("unit", unit).set("extend", extend); }

EndKeyRequest EndKeyRequest::decode(const Message& message) {
    const EndKeyRequest fallback;
    return {message.getInt("unit", fallback.unit), message.getInt("extend", fallback.extend)};
}

Message GoToRequest::encode() const {
    Message message(kName);
    message.set("what", what).set("which", which);
    if (name) message.set("name", *name);
    if (count != GoToRequest().count) message.set("count", count);
    return message;
}

GoToRequest GoToRequest::decode(const Message& message) {
    const GoToRequest fallback;
    GoToRequest request;
    request.what = message.getInt("what", fallback.what);
    request.which = message.getInt("which", fallback.which);
    if (message.has("name")) request.name = message.getInt("name");
    request.count = message.getInt("count", fallback.count);
    return request;
}

Message MoveUpRequest::encode() const {
    return Message(kName).set("unit", unit).set("count", count).set("extend", extend);
}

MoveUpRequest MoveUpRequest::decode(const Message& message) {
    const MoveUpRequest fallback;
    return {message.getInt("unit", fallback.unit), message.getInt("count", fallback.count),
            message.getInt("extend", fallback.extend)};
}

Message SetIndentsRequest::encode() const {
    std::string payload;
    for (const IndentEdit& edit : edits) appendIndentEdit(payload, edit);
    return Message(kName).setPayload(std::move(payload));
}

SetIndentsRequest SetIndentsRequest::decode(const Message& message) {
    return {decodeIndentEdits(message.payload())};
}

Message CloseRequest::encode() const { return Message(kName).set("savechanges", saveChanges); }

CloseRequest CloseRequest::decode(const Message& message) {
    return {message.getInt("savechanges", CloseRequest().saveChanges)};
}

}  // namespace protocol
