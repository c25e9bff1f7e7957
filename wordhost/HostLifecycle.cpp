#include "wordhost/HostLifecycle.h"

#include "protocol/WordVocabulary.h"

namespace wordhost {

namespace {

using protocol::EngineErrorNumber::Automation;

constexpr char kHandshakeFirst[] = "The handshake must come first.";

Step refuse(int number, std::string description) { return Step{Refusal{number, std::move(description)}}; }

Step to(HostState afterSuccess, HostState afterFailure) {
    return Step{std::nullopt, afterSuccess, afterFailure};
}

Step stay(HostState state) { return to(state, state); }

// A Word object's calls: never before the handshake.
Step decideObjectCall(HostState state, bool readAheadFailed, RequestKind kind) {
    using enum HostState;
    if (state == Spare) return refuse(Automation, kHandshakeFirst);
    switch (kind) {
        case RequestKind::Release:
            if (state == DocumentOpen) return refuse(Automation, "A document is still open.");
            if (readAheadFailed) return refuse(Automation, "The engine failed reading a document ahead.");
            return stay(Spare);
        case RequestKind::Open:
            return to(DocumentOpen, Claimed);  // the document open before is closed first
        case RequestKind::Close:
        case RequestKind::DocumentCall:
            if (state != DocumentOpen) {
                return refuse(protocol::EngineErrorNumber::NoDocument,
                              "This command is not available because no document is open.");
            }
            return kind == RequestKind::Close ? stay(Claimed) : stay(DocumentOpen);
        default:
            return stay(state);
    }
}

}  // namespace

const char* stateName(HostState state) {
    switch (state) {
        case HostState::Spare:
            return "spare";
        case HostState::Claimed:
            return "claimed";
        case HostState::DocumentOpen:
            return "document open";
        case HostState::Ended:
            return "ended";
    }
    return "?";
}

Step decide(HostState state, bool readAheadFailed, std::optional<RequestKind> kind,
            std::string_view request) {
    using enum HostState;
    if (state == Ended) return refuse(Automation, "The engine host has ended.");
    if (!kind) {
        if (state == Spare) return refuse(Automation, kHandshakeFirst);
        return refuse(protocol::EngineErrorNumber::NotSupported,
                      "Object doesn't support this property or method: " + std::string(request));
    }
    switch (*kind) {
        case RequestKind::Quit:
            return stay(Ended);
        case RequestKind::Warm:
            return stay(state);  // starts and warms the engine; the state stays
        case RequestKind::ReadAhead:
            if (state != Spare || readAheadFailed)
                return refuse(Automation, "Only a clean spare host reads ahead.");
            return stay(Spare);
        case RequestKind::Handshake:
            return to(state == Spare ? Claimed : state, state);
        default:
            return decideObjectCall(state, readAheadFailed, *kind);
    }
}

}  // namespace wordhost
