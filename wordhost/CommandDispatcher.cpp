#include "wordhost/CommandDispatcher.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "protocol/HostRegistry.h"
#include "protocol/Indents.h"
#include "protocol/PagePicture.h"
#include "protocol/WordVocabulary.h"
#include "wordhost/EngineDocument.h"
#include "wordhost/EngineError.h"
#include "wordhost/Office.h"
#include "wordhost/PrivateFolder.h"
#include "wordhost/WarmUp.h"

namespace wordhost {

namespace {

Message ok() { return Message("ok"); }

Message errorReply(int number, const std::string& description) {
    return Message("error").set("number", number).set("description", description);
}

bool extendArgument(const Message& request) {
    const long long extend = request.getInt("extend", 0);
    if (extend != 0 && extend != 1) throw EngineError("Bad parameter: extend must be 0 or 1.");
    return extend == 1;
}

void requireUnit(const Message& request, long long unit, const char* what) {
    if (request.getInt("unit", unit) != unit) {
        throw EngineError(std::string("The document engine supports ") + what + " only.",
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

}  // namespace

CommandDispatcher::CommandDispatcher(PrivateFolder& folder) : folder_(folder) {}

CommandDispatcher::~CommandDispatcher() { close(); }

void CommandDispatcher::close() {
    readAhead_.reset();
    document_.reset();
    registration_.reset();
}

EngineDocument& CommandDispatcher::document() {
    if (!document_) {
        throw EngineError("This command is not available because no document is open.",
                          EngineErrorNumber::NoDocument);
    }
    return *document_;
}

Message CommandDispatcher::handle(const Message& request) {
    try {
        if (request.is("warm")) {
            // A spare host starts its engine ahead of time; it is no running Word until "hello".
            startEngine();
            if (!warmed_) warmUp(*office_, folder_.makeSubfolder("warm-"));
            warmed_ = true;
            return ok();
        }
        if (request.is("readahead")) return readAhead(request);
        if (!claimed_ && !request.is("hello") && !request.is("quit")) {
            throw EngineError("The handshake must come first.");
        }
        if (request.is("hello")) return hello(request);
        if (request.is("name")) return ok().set("value", kEngineName);
        if (request.is("open")) return open(request);
        if (request.is("repaginate")) {
            document().repaginate();
            return ok();
        }
        if (request.is("property")) {
            if (request.getInt("index") != wd::PropertyPages) {
                throw EngineError("The document engine knows the property 14 (number of pages) only.",
                                  EngineErrorNumber::NotSupported);
            }
            return ok().set("value", document().pageCount());
        }
        if (request.is("getpagefit")) return ok().set("value", pageFit_);
        if (request.is("setpagefit")) {
            const long long value = request.getInt("value");
            if (value < 0 || value > 2) throw EngineError("The value is out of range.");
            pageFit_ = static_cast<int>(value);
            return ok();
        }
        if (request.is("paragraphs")) {
            const std::vector<Indents> indents = document().paragraphIndents();
            return ok()
                .set("count", static_cast<long long>(indents.size()))
                .setPayload(encodeIndents(indents));
        }
        if (request.is("setindents")) return setIndents(request);
        if (request.is("endkey")) {
            requireUnit(request, wd::Story, "EndKey by story (6)");
            document().endOfDocument(extendArgument(request));
            return ok();
        }
        if (request.is("goto")) {
            if (request.getInt("what", wd::GoToPage) != wd::GoToPage) {
                throw EngineError("The document engine goes to pages only.", EngineErrorNumber::NotSupported);
            }
            EngineDocument& doc = document();
            const long long which = request.getInt("which", wd::GoToNext);
            const int pages = doc.pageCount();
            long long page = 1;
            if (request.has("name")) {
                page = request.getInt("name");
            } else if (which == wd::GoToLast) {
                page = pages;
            } else if (which == wd::GoToNext || which == wd::GoToPrevious) {
                page = 1 + (which == wd::GoToNext ? request.getInt("count", 1) : 0);
            } else if (which != wd::GoToFirst) {
                throw EngineError("Bad parameter: which.");
            }
            doc.goToPage(static_cast<int>(std::clamp<long long>(page, 1, std::max(pages, 1))));
            return ok();
        }
        if (request.is("moveup")) {
            requireUnit(request, wd::Line, "MoveUp by lines (5)");
            const long long count = request.getInt("count", 1);
            document().moveUp(static_cast<int>(std::clamp<long long>(count, 0, 1 << 30)),
                              extendArgument(request));
            return ok();
        }
        if (request.is("text")) return ok().setPayload(document().selectionText());
        if (request.is("cut")) return cut();
        if (request.is("close")) {
            document();
            document_.reset();
            return ok();
        }
        if (request.is("release")) {
            // A Word object whose every call went well leaves its engine clean: the host goes
            // back to being an unregistered spare, with its engine started, instead of ending.
            if (document_) throw EngineError("A document is still open.");
            if (readAheadFailed_) throw EngineError("The engine failed reading a document ahead.");
            registration_.reset();
            claimed_ = false;
            pageFit_ = 0;
            return ok();
        }
        if (request.is("quit")) {
            // Not a running Word any more once the client hears back.
            registration_.reset();
            quit_ = true;
            return ok();
        }
        return errorReply(EngineErrorNumber::NotSupported,
                          "Object doesn't support this property or method: " + request.name());
    } catch (const EngineError& error) {
        return errorReply(error.number(), error.what());
    } catch (const ProtocolError& error) {
        return errorReply(EngineErrorNumber::Automation, std::string("Bad request: ") + error.what());
    } catch (const std::exception& error) {
        return errorReply(EngineErrorNumber::Automation,
                          std::string("The document engine failed: ") + error.what());
    } catch (...) {
        // The engine's own exceptions are no std::exception: the host still answers.
        return errorReply(EngineErrorNumber::Automation, "The document engine failed.");
    }
}

void CommandDispatcher::startEngine() {
    if (!office_)
        office_ = std::make_unique<Office>(Office::defaultProgramFolder(), folder_.makeSubfolder("profile-"));
}

Message CommandDispatcher::hello(const Message& request) {
    if (request.getInt("version", 0) != kProtocolVersion) {
        throw EngineError("The engine host speaks protocol version " + std::to_string(kProtocolVersion) + ".",
                          EngineErrorNumber::CantCreate);
    }
    startEngine();
    claimed_ = true;
    if (!registration_) {
        try {
            registration_ = std::make_unique<HostRegistration>();
        } catch (const std::exception& error) {
            // Attaching from another window will not find this host; converting still works.
            std::fprintf(stderr, "marrowdale-wordhost: not registered: %s\n", error.what());
        }
    }
    // The client removes the folder should this host be killed or crash before it can.
    return ok().set("version", kProtocolVersion).set("name", kEngineName).set("folder", folder_.path());
}

Message CommandDispatcher::open(const Message& request) {
    const std::string path = request.get("path");
    if (path.empty()) throw EngineError("Bad parameter: no document was named.");
    document_.reset();  // one document at a time: the new one becomes the active document
    // The document read ahead serves only when it is still the file it was read from.
    std::unique_ptr<EngineDocument> ahead = std::move(readAhead_);
    if (ahead && path == readAheadPath_ && identityOf<FileIdentity>(path) == readAheadIdentity_) {
        document_ = std::move(ahead);
    } else {
        ahead.reset();
        document_ = std::make_unique<EngineDocument>(*office_, folder_.makeSubfolder("document-"), path);
    }
    // An engine that failed reading ahead saw an error: the client must not hand it on.
    Message reply = ok();
    if (readAheadFailed_) reply.set("readaheadfailed", 1);
    return reply;
}

Message CommandDispatcher::readAhead(const Message& request) {
    // A spare opens and lays out the document it will likely be asked for next; nothing is
    // reported to the user from here: a failure shows when the document is opened in its turn.
    if (claimed_ || document_ || readAheadFailed_) throw EngineError("Only a clean spare host reads ahead.");
    const std::string path = request.get("path");
    readAhead_.reset();
    readAheadPath_.clear();
    startEngine();
    const std::optional<FileIdentity> before = identityOf<FileIdentity>(path);
    if (!before) throw EngineError("The document cannot be read.");
    try {
        auto document = std::make_unique<EngineDocument>(*office_, folder_.makeSubfolder("document-"), path);
        document->repaginate();
        document->pageCount();
        if (identityOf<FileIdentity>(path) != before)
            return ok();  // changed while read: read again in its turn
        readAhead_ = std::move(document);
        readAheadPath_ = path;
        readAheadIdentity_ = *before;
    } catch (...) {
        readAheadFailed_ = true;
        throw;
    }
    return ok();
}

Message CommandDispatcher::setIndents(const Message& request) {
    EngineDocument& doc = document();
    for (const IndentEdit& edit : decodeIndentEdits(request.payload())) {
        doc.setIndent(edit.paragraph, edit.left, edit.points);
    }
    return ok();
}

Message CommandDispatcher::cut() { return cutReply(document().cut()); }

}  // namespace wordhost
