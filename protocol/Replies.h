#pragma once

#include <string>
#include <vector>

#include "protocol/Indents.h"
#include "protocol/Message.h"

namespace protocol {

// The host's replies, as it writes them and the client reads them (PROTOCOL.md). A reply is
// "ok" with the fields of its request, or "error". read() takes what the client needs from an
// "ok" reply and throws ProtocolError on a missing or malformed number or payload.

struct OkReply {
    static constexpr char kName[] = "ok";
    Message encode() const { return Message(kName); }
};

// A request refused or failed: the error number and description the client raises.
struct ErrorReply {
    static constexpr char kName[] = "error";
    long long number = 0;
    std::string description;
    Message encode() const;
    // The error a reply carries; `fallback` is the number of an error reply without one.
    static ErrorReply read(const Message& reply, long long fallback);
    bool operator==(const ErrorReply&) const = default;
};

// To "hello": the version the host speaks, the engine's name and the host's private folder,
// which the client removes should the host be killed before it can.
struct HelloReply {
    long long version = 0;
    std::string name;
    std::string folder;
    Message encode() const;
    static HelloReply read(const Message& reply);
    bool operator==(const HelloReply&) const = default;
};

// To "open": whether the engine saw an error while it read a document ahead.
struct OpenReply {
    bool readAheadFailed = false;
    Message encode() const;
    static OpenReply read(const Message& reply);
    bool operator==(const OpenReply&) const = default;
};

// To "name": the engine's name.
struct NameReply {
    std::string value;
    Message encode() const;
    static NameReply read(const Message& reply);
    bool operator==(const NameReply&) const = default;
};

// To "property" and "getpagefit": one number.
struct NumberReply {
    long long value = 0;
    Message encode() const;
    static NumberReply read(const Message& reply);
    bool operator==(const NumberReply&) const = default;
};

// To "paragraphs": every paragraph's indents, in order.
struct ParagraphsReply {
    std::vector<ParagraphIndents> indents;
    Message encode() const;
    static ParagraphsReply read(const Message& reply);
    bool operator==(const ParagraphsReply&) const = default;
};

// To "setindents": the writes the engine refused (none when every write went well).
struct SetIndentsReply {
    std::vector<IndentWriteFailure> failures;
    Message encode() const;
    static SetIndentsReply read(const Message& reply);
    bool operator==(const SetIndentsReply&) const = default;
};

// To "text": the selection's text, UTF-8, as the payload.
struct TextReply {
    std::string text;
    Message encode() const;
    static TextReply read(const Message& reply);
    bool operator==(const TextReply&) const = default;
};

}  // namespace protocol
