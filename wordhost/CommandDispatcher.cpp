#include "wordhost/CommandDispatcher.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <limits>
#include <optional>

#include "protocol/HostRegistry.h"
#include "protocol/Indents.h"
#include "protocol/PagePicture.h"
#include "protocol/Replies.h"
#include "protocol/Requests.h"
#include "protocol/WordVocabulary.h"
#include "wordhost/Engine.h"
#include "wordhost/EngineError.h"
#include "wordhost/PrivateFolder.h"
#include "wordhost/WordDocument.h"

namespace wordhost {

using namespace protocol;

namespace {

// A request refused for its arguments, before it did anything: the host stays as it was.
class ArgumentError : public EngineError {
    using EngineError::EngineError;
};

Message ok() { return OkReply().encode(); }

// More pages than any document has, and still an int a page after it.
constexpr long long kMostPages = std::numeric_limits<int>::max() - 1;

Message errorReply(int number, const std::string& description) {
    return ErrorReply{number, description}.encode();
}

bool extendArgument(long long extend) {
    if (extend != 0 && extend != 1) throw ArgumentError("Bad parameter: extend must be 0 or 1.");
    return extend == 1;
}

void requireUnit(long long given, long long unit, const char* what) {
    if (given != unit) {
        throw ArgumentError(std::string("The document engine supports ") + what + " only.",
                            EngineErrorNumber::NotSupported);
    }
}

// What the document's file is now; nullopt when it cannot be read.
template <typename Identity>
std::optional<Identity> identityOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    Identity identity;
    identity.device = status.st_dev;
    identity.inode = status.st_ino;
    identity.size = status.st_size;
    identity.modifiedNs =
        static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec;
    return identity;
}

// What the client hears of a failure of the engine.
struct Failure {
    int number;
    std::string description;
};

Failure failureOf(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const EngineError& engineError) {
        return {engineError.number(), engineError.what()};
    } catch (const std::exception& other) {
        return {EngineErrorNumber::Automation, std::string("The document engine failed: ") + other.what()};
    } catch (...) {
        // The engine's own exceptions are no std::exception: the host still answers.
        return {EngineErrorNumber::Automation, "The document engine failed."};
    }
}

}  // namespace

// Every request the host knows: its name, what it is to the lifecycle, its handler.
const CommandDispatcher::Handler CommandDispatcher::kHandlers[] = {
    {HelloRequest::kName, RequestKind::Handshake, &CommandDispatcher::hello},
    {WarmRequest::kName, RequestKind::Warm, &CommandDispatcher::warm},
    {ReadAheadRequest::kName, RequestKind::ReadAhead, &CommandDispatcher::readAhead},
    {ReleaseRequest::kName, RequestKind::Release, &CommandDispatcher::release},
    {QuitRequest::kName, RequestKind::Quit, &CommandDispatcher::quit},
    {NameRequest::kName, RequestKind::ObjectCall, &CommandDispatcher::name},
    {OpenRequest::kName, RequestKind::Open, &CommandDispatcher::open},
    {CloseRequest::kName, RequestKind::Close, &CommandDispatcher::closeDocument},
    {RepaginateRequest::kName, RequestKind::DocumentCall, &CommandDispatcher::repaginate},
    {PropertyRequest::kName, RequestKind::DocumentCall, &CommandDispatcher::property},
    {GetPageFitRequest::kName, RequestKind::ObjectCall, &CommandDispatcher::getPageFit},
    {SetPageFitRequest::kName, RequestKind::ObjectCall, &CommandDispatcher::setPageFit},
    {ParagraphsRequest::kName, RequestKind::DocumentCall, &CommandDispatcher::paragraphs},
    {SetIndentsRequest::kName, RequestKind::DocumentCall, &CommandDispatcher::setIndents},
    {EndKeyRequest::kName, RequestKind::DocumentCall, &CommandDispatcher::endKey},
    {GoToRequest::kName, RequestKind::DocumentCall, &CommandDispatcher::goTo},
    {MoveUpRequest::kName, RequestKind::DocumentCall, &CommandDispatcher::moveUp},
    {TextRequest::kName, RequestKind::DocumentCall, &CommandDispatcher::text},
    {CutRequest::kName, RequestKind::DocumentCall, &CommandDispatcher::cut},
};

CommandDispatcher::CommandDispatcher(PrivateFolder& folder, EngineStarter startEngine)
    : folder_(folder), startEngine_(std::move(startEngine)) {}

CommandDispatcher::~CommandDispatcher() { close(); }

void CommandDispatcher::close() {
    readAhead_.reset();
    document_.reset();
    registration_.reset();
}

Engine& CommandDispatcher::engine() {
    if (!engine_) engine_ = startEngine_(folder_.makeSubfolder("profile-"));
    return *engine_;
}

WordDocument& CommandDispatcher::document() {
    // The lifecycle lets document calls through only while a document is open.
    if (!document_) {
        throw EngineError("This command is not available because no document is open.",
                          EngineErrorNumber::NoDocument);
    }
    return *document_;
}

const CommandDispatcher::Handler* CommandDispatcher::handlerOf(const Message& request) {
    for (const Handler& handler : kHandlers) {
        if (request.is(handler.name)) return &handler;
    }
    return nullptr;
}

Message CommandDispatcher::handle(const Message& request) {
    const Handler* handler = handlerOf(request);
    const Step step =
        lifecycle_.decide(handler ? std::optional(handler->kind) : std::nullopt, request.name());
    if (step.refusal) return errorReply(step.refusal->number, step.refusal->description);
    try {
        Message reply = (this->*handler->run)(request);
        lifecycle_.finish(step, true);
        return reply;
    } catch (const ArgumentError& error) {
        // Refused for its arguments before it did anything: the state stays.
        return errorReply(error.number(), error.what());
    } catch (const ProtocolError& error) {
        return errorReply(EngineErrorNumber::Automation, std::string("Bad request: ") + error.what());
    } catch (...) {
        lifecycle_.finish(step, false);
        const Failure failure = failureOf(std::current_exception());
        return errorReply(failure.number, failure.description);
    }
}

// The handshake: a spare becomes a Word object's.
Message CommandDispatcher::hello(const Message& request) {
    if (HelloRequest::decode(request).version != kProtocolVersion) {
        throw ArgumentError(
            "The engine host speaks protocol version " + std::to_string(kProtocolVersion) + ".",
            EngineErrorNumber::CantCreate);
    }
    engine();
    if (!registration_) {
        try {
            registration_ = std::make_unique<HostRegistration>();
        } catch (const std::exception& error) {
            // Attaching from another window will not find this host; converting still works.
            std::fprintf(stderr, "marrowdale-wordhost: not registered: %s\n", error.what());
        }
    }
    // The client removes the folder should this host be killed or crash before it can.
    return HelloReply{kProtocolVersion, kEngineName, folder_.path()}.encode();
}

// A spare host starts its engine ahead of time; it is no running Word until "hello".
Message CommandDispatcher::warm(const Message&) {
    Engine& started = engine();
    if (warmed_ || (clientIdle_ && !clientIdle_())) return ok();
    started.warmUp(folder_.makeSubfolder("warm-"));
    warmed_ = true;
    return ok();
}

// A spare opens and lays out the document it will likely be asked for next; nothing is reported
// to the user from here: a failure shows when the document is opened in its turn.
Message CommandDispatcher::readAhead(const Message& request) {
    const std::string path = ReadAheadRequest::decode(request).path;
    readAhead_.reset();
    readAheadPath_.clear();
    Engine& started = engine();
    const std::optional<FileIdentity> before = identityOf<FileIdentity>(path);
    if (!before) throw EngineError("The document cannot be read.");
    try {
        auto document =
            std::make_unique<WordDocument>(started.open(folder_.makeSubfolder("document-"), path), path);
        document->repaginate();
        document->pageCount();
        if (identityOf<FileIdentity>(path) != before)
            return ok();  // changed while read: read again in its turn
        readAhead_ = std::move(document);
        readAheadPath_ = path;
        readAheadIdentity_ = *before;
    } catch (...) {
        lifecycle_.markReadAheadFailed();
        throw;
    }
    return ok();
}

// A Word object whose every call went well leaves its engine clean: the host goes back to being
// an unregistered spare, with its engine started, instead of ending.
Message CommandDispatcher::release(const Message&) {
    registration_.reset();
    pageFit_ = 0;
    return ok();
}

// Not a running Word any more once the client hears back.
Message CommandDispatcher::quit(const Message&) {
    registration_.reset();
    return ok();
}

Message CommandDispatcher::name(const Message&) { return NameReply{kEngineName}.encode(); }

Message CommandDispatcher::open(const Message& request) {
    const std::string path = OpenRequest::decode(request).path;
    if (path.empty()) throw ArgumentError("Bad parameter: no document was named.");
    document_.reset();  // one document at a time: the new one becomes the active document
    // The document read ahead serves only when it is still the file it was read from.
    std::unique_ptr<WordDocument> ahead = std::move(readAhead_);
    if (ahead && path == readAheadPath_ && identityOf<FileIdentity>(path) == readAheadIdentity_) {
        document_ = std::move(ahead);
    } else {
        ahead.reset();
        document_ =
            std::make_unique<WordDocument>(engine().open(folder_.makeSubfolder("document-"), path), path);
    }
    // An engine that failed reading ahead saw an error: the client must not hand it on.
    return OpenReply{lifecycle_.readAheadFailed()}.encode();
}

Message CommandDispatcher::closeDocument(const Message& request) {
    CloseRequest::decode(request);  // never saves
    document_.reset();
    return ok();
}

Message CommandDispatcher::repaginate(const Message&) {
    document().repaginate();
    return ok();
}

Message CommandDispatcher::property(const Message& request) {
    if (PropertyRequest::decode(request).index != wd::PropertyPages) {
        throw ArgumentError("The document engine knows the property 14 (number of pages) only.",
                            EngineErrorNumber::NotSupported);
    }
    return NumberReply{document().pageCount()}.encode();
}

Message CommandDispatcher::getPageFit(const Message&) { return NumberReply{pageFit_}.encode(); }

Message CommandDispatcher::setPageFit(const Message& request) {
    const long long value = SetPageFitRequest::decode(request).value;
    if (value < 0 || value > 2) throw ArgumentError("The value is out of range.");
    pageFit_ = static_cast<int>(value);
    return ok();
}

Message CommandDispatcher::paragraphs(const Message&) {
    return ParagraphsReply{document().paragraphIndents()}.encode();
}

Message CommandDispatcher::setIndents(const Message& request) {
    const std::vector<IndentEdit> edits = SetIndentsRequest::decode(request).edits;
    WordDocument& doc = document();
    // Every write is tried, as the client's calls would be one by one; each refusal is told apart.
    std::vector<IndentWriteFailure> failures;
    for (std::size_t i = 0; i < edits.size(); ++i) {
        try {
            doc.setIndent(edits[i].paragraph, edits[i].left, edits[i].points);
        } catch (...) {
            const Failure failure = failureOf(std::current_exception());
            failures.push_back({i, failure.number, failure.description});
        }
    }
    return SetIndentsReply{std::move(failures)}.encode();
}

Message CommandDispatcher::endKey(const Message& request) {
    const EndKeyRequest arguments = EndKeyRequest::decode(request);
    requireUnit(arguments.unit, wd::Story, "EndKey by story (6)");
    const bool extend = extendArgument(arguments.extend);
    document().endOfDocument(extend);
    return ok();
}

Message CommandDispatcher::goTo(const Message& request) {
    const GoToRequest arguments = GoToRequest::decode(request);
    if (arguments.what != wd::GoToPage)
        throw ArgumentError("The document engine goes to pages only.", EngineErrorNumber::NotSupported);
    // A page by number, the last page, or counted from the first.
    const long long which = arguments.which;
    const bool last = !arguments.name && which == wd::GoToLast;
    if (!arguments.name && !last && which != wd::GoToNext && which != wd::GoToPrevious &&
        which != wd::GoToFirst)
        throw ArgumentError("Bad parameter: which.");
    WordDocument& doc = document();
    // The page count only for the last page: the selection clamps to the pages there are, and
    // finds them without waiting for a layout still being exported.
    long long page = 1;
    if (arguments.name) {
        page = *arguments.name;
    } else if (last) {
        page = doc.pageCount();
    } else if (which == wd::GoToNext) {
        page = 1 + std::clamp<long long>(arguments.count, -1, kMostPages);  // any count from the wire
    }
    doc.goToPage(static_cast<int>(std::clamp<long long>(page, 1, kMostPages)));
    return ok();
}

Message CommandDispatcher::moveUp(const Message& request) {
    const MoveUpRequest arguments = MoveUpRequest::decode(request);
    requireUnit(arguments.unit, wd::Line, "MoveUp by lines (5)");
    const bool extend = extendArgument(arguments.extend);
    document().moveUp(static_cast<int>(std::clamp<long long>(arguments.count, 0, 1 << 30)), extend);
    return ok();
}

Message CommandDispatcher::text(const Message&) { return TextReply{document().selectionText()}.encode(); }

Message CommandDispatcher::cut(const Message&) { return cutReply(document().cut()); }

}  // namespace wordhost
