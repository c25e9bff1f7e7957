#pragma once

#include <optional>
#include <string>
#include <vector>

#include "protocol/Indents.h"
#include "protocol/Message.h"
#include "protocol/WordVocabulary.h"

namespace protocol {

// Every request, as the client writes it and the host reads it (PROTOCOL.md). kName is the
// request's name on the wire and the key of the host's table of handlers; encode() makes the
// message; decode() reads one, filling in what the client may leave out, and throws ProtocolError
// on a missing or malformed number. Whether a value is allowed is the host's to decide.

// A request that is its name alone.
template <typename Request>
struct NameOnlyRequest {
    Message encode() const { return Message(Request::kName); }
    static Request decode(const Message&) { return {}; }
    bool operator==(const NameOnlyRequest&) const = default;
};

struct WarmRequest : NameOnlyRequest<WarmRequest> {
    static constexpr char kName[] = "warm";
};
struct ReleaseRequest : NameOnlyRequest<ReleaseRequest> {
    static constexpr char kName[] = "release";
};
struct QuitRequest : NameOnlyRequest<QuitRequest> {
    static constexpr char kName[] = "quit";
};
struct NameRequest : NameOnlyRequest<NameRequest> {
    static constexpr char kName[] = "name";
};
struct RepaginateRequest : NameOnlyRequest<RepaginateRequest> {
    static constexpr char kName[] = "repaginate";
};
struct GetPageFitRequest : NameOnlyRequest<GetPageFitRequest> {
    static constexpr char kName[] = "getpagefit";
};
struct ParagraphsRequest : NameOnlyRequest<ParagraphsRequest> {
    static constexpr char kName[] = "paragraphs";
};
struct TextRequest : NameOnlyRequest<TextRequest> {
    static constexpr char kName[] = "text";
};
struct CutRequest : NameOnlyRequest<CutRequest> {
    static constexpr char kName[] = "cut";
};

struct HelloRequest {
    static constexpr char kName[] = "hello";
    long long version = kProtocolVersion;  // a message without one reads as 0
    Message encode() const;
    static HelloRequest decode(const Message& message);
    bool operator==(const HelloRequest&) const = default;
};

struct OpenRequest {
    static constexpr char kName[] = "open";
    std::string path;
    Message encode() const;
    static OpenRequest decode(const Message& message);
    bool operator==(const OpenRequest&) const = default;
};

struct ReadAheadRequest {
    static constexpr char kName[] = "readahead";
    std::string path;
    Message encode() const;
    static ReadAheadRequest decode(const Message& message);
    bool operator==(const ReadAheadRequest&) const = default;
};

struct PropertyRequest {
    static constexpr char kName[] = "property";
    long long index = wd::PropertyPages;  // required
    Message encode() const;
    static PropertyRequest decode(const Message& message);
    bool operator==(const PropertyRequest&) const = default;
};

struct SetPageFitRequest {
    static constexpr char kName[] = "setpagefit";
    long long value = 0;  // required
    Message encode() const;
    static SetPageFitRequest decode(const Message& message);
    bool operator==(const SetPageFitRequest&) const = default;
};

struct EndKeyRequest {
    static constexpr char kName[] = "endkey";
    long long unit = wd::Story;
    long long extend = 0;
    Message encode() const;
    static EndKeyRequest decode(const Message& message);
    bool operator==(const EndKeyRequest&) const = default;
};

struct GoToRequest {
    static constexpr char kName[] = "goto";
    long long what = wd::GoToPage;
    long long which = wd::GoToNext;
    std::optional<long long> name;  // the page number
    long long count = 1;            // pages on from the first, for GoToNext without a name
    Message encode() const;
    static GoToRequest decode(const Message& message);
    bool operator==(const GoToRequest&) const = default;
};

struct MoveUpRequest {
    static constexpr char kName[] = "moveup";
    long long unit = wd::Line;
    long long count = 1;
    long long extend = 0;
    Message encode() const;
    static MoveUpRequest decode(const Message& message);
    bool operator==(const MoveUpRequest&) const = default;
};

// The indent writes travel as the payload; decode() throws ProtocolError on a damaged one.
struct SetIndentsRequest {
    static constexpr char kName[] = "setindents";
    std::vector<IndentEdit> edits;
    Message encode() const;
    static SetIndentsRequest decode(const Message& message);
    bool operator==(const SetIndentsRequest&) const = default;
};

struct CloseRequest {
    static constexpr char kName[] = "close";
    long long saveChanges = wd::DoNotSaveChanges;
    Message encode() const;
    static CloseRequest decode(const Message& message);
    bool operator==(const CloseRequest&) const = default;
};

}  // namespace protocol
