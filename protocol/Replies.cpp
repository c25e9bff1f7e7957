#include "protocol/Replies.h"

namespace protocol {

namespace {

Message ok() { return OkReply().encode(); }

}  // namespace

Message ErrorReply::encode() const {
    return Message(kName).set("number", number).set("description", description);
}

ErrorReply ErrorReply::read(const Message& reply, long long fallback) {
    return {reply.getInt("number", fallback), reply.get("description")};
}

Message HelloReply::encode() const {
    return ok().set("version", version).set("name", name).set("folder", folder);
}

HelloReply HelloReply::read(const Message& reply) {
    return {reply.getInt("version", 0), reply.get("name"), reply.get("folder")};
}

Message OpenReply::encode() const {
    Message reply = ok();
    if (readAheadFailed) reply.set("readaheadfailed", 1);
    return reply;
}

OpenReply OpenReply::read(const Message& reply) { return {reply.getInt("readaheadfailed", 0) != 0}; }

Message NameReply::encode() const { return ok().set("value", value); }

NameReply NameReply::read(const Message& reply) { return {reply.get("value")}; }

Message NumberReply::encode() const { return ok().set("value", value); }

NumberReply NumberReply::read(const Message& reply) { return {reply.getInt("value")}; }

Message ParagraphsReply::encode() const {
    return ok().set("count", static_cast<long long>(indents.size())).setPayload(encodeIndents(indents));
}

ParagraphsReply ParagraphsReply::read(const Message& reply) { return {decodeIndents(reply.payload())}; }

Message SetIndentsReply::encode() const {
    if (failures.empty()) return ok();
    return ok()
        .set("failed", static_cast<long long>(failures.size()))
        .setPayload(encodeIndentWriteFailures(failures));
}

SetIndentsReply SetIndentsReply::read(const Message& reply) {
    return {decodeIndentWriteFailures(reply.payload())};
}

Message TextReply::encode() const { return ok().setPayload(text); }

TextReply TextReply::read(const Message& reply) { return {reply.payload()}; }

}  // namespace protocol
