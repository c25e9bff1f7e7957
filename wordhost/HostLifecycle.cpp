#include "wordhost/HostLifecycle.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "protocol/WordVocabulary.h"

namespace wordhost {

namespace {

// The calls of an open document; without one they are refused as Word refuses them.
constexpr std::array<std::string_view, 9> kDocumentCalls = {
    "repaginate", "property", "paragraphs", "setindents", "endkey", "goto", "moveup", "text", "cut"};
// The calls of a Word object that need no document.
constexpr std::array<std::string_view, 3> kObjectCalls = {"name", "getpagefit", "setpagefit"};

std::string lowered(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool among(std::string_view name, const auto& names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

Step refuse(int number, std::string description) { return Step{Refusal{number, std::move(description)}}; }

Step to(HostState afterSuccess, HostState afterFailure) {
    return Step{std::nullopt, afterSuccess, afterFailure};
}

Step stay(HostState state) { return to(state, state); }

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

Step decide(HostState state, bool readAheadFailed, std::string_view request) {
    using enum HostState;
    const std::string name = lowered(request);
    if (state == Ended) return refuse(EngineErrorNumber::Automation, "The engine host has ended.");
    if (name == "quit") return stay(Ended);
    if (name == "warm") return stay(state);  // starts and warms the engine; the state stays
    if (name == "readahead") {
        if (state != Spare || readAheadFailed)
            return refuse(EngineErrorNumber::Automation, "Only a clean spare host reads ahead.");
        return stay(Spare);
    }
    if (name == "hello") return to(state == Spare ? Claimed : state, state);
    // Everything else is a Word object's call.
    if (state == Spare) return refuse(EngineErrorNumber::Automation, "The handshake must come first.");
    if (name == "release") {
        if (state == DocumentOpen) return refuse(EngineErrorNumber::Automation, "A document is still open.");
        if (readAheadFailed)
            return refuse(EngineErrorNumber::Automation, "The engine failed reading a document ahead.");
        return stay(Spare);
    }
    if (name == "open") return to(DocumentOpen, Claimed);  // the document open before is closed first
    if (name == "close" || among(name, kDocumentCalls)) {
        if (state != DocumentOpen) {
            return refuse(EngineErrorNumber::NoDocument,
                          "This command is not available because no document is open.");
        }
        return name == "close" ? stay(Claimed) : stay(DocumentOpen);
    }
    if (among(name, kObjectCalls)) return stay(state);
    return refuse(EngineErrorNumber::NotSupported,
                  "Object doesn't support this property or method: " + std::string(request));
}

}  // namespace wordhost
