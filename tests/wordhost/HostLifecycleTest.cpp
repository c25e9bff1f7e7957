// The host's lifecycle table (PROTOCOL.md) row by row, through the real dispatcher on a fake office.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "protocol/HostRegistry.h"
#include "tests/wordhost/FakeOffice.h"

using wordhost::HostState;
using wordhosttest::FakeHost;
using wordhosttest::pagesWithLines;

namespace {

enum class Start { Spare, Claimed, DocumentOpen, Ended };

constexpr const char* kHandshake = "The handshake must come first.";
constexpr const char* kNoDocument = "This command is not available because no document is open.";

// A host brought into a state the way a client brings it there.
std::unique_ptr<FakeHost> hostIn(Start start, std::string* document) {
    auto host = std::make_unique<FakeHost>();
    *document = host->addDocument("a.docx", {pagesWithLines({2, 1}), {{0, 0}}, {}});
    if (start == Start::Claimed || start == Start::DocumentOpen) {
        EXPECT_EQ(host->errorOf("hello version=1"), 0);
    }
    if (start == Start::DocumentOpen) {
        EXPECT_EQ(host->errorOf("open path=" + *document), 0);
    }
    if (start == Start::Ended) {
        EXPECT_EQ(host->errorOf("quit"), 0);
    }
    return host;
}

struct Row {
    const char* request;
    int error;                // 0: answered "ok"
    const char* description;  // of the refusal, when it matters
    HostState after;
};

// Every request with good arguments: the lifecycle alone decides.
std::string requestLine(const std::string& request, const std::string& document, std::string* payload) {
    if (request == "hello") return "hello version=1";
    if (request == "readahead" || request == "open") return request + " path=" + document;
    if (request == "property") return "property index=14";
    if (request == "setpagefit") return "setpagefit value=1";
    if (request == "endkey") return "endkey unit=6 extend=1";
    if (request == "goto") return "goto what=1 which=1 name=1";
    if (request == "moveup") return "moveup unit=5 count=1 extend=1";
    if (request == "setindents") *payload = "0 left 12\n";
    return request;
}

const std::vector<std::string> kDocumentCalls = {
    "repaginate", "property", "paragraphs", "setindents", "endkey", "goto", "moveup", "text", "cut"};

// A spare answers the handshake, warm, readahead and quit only.
std::vector<Row> spareRows() {
    std::vector<Row> rows = {
        {"hello", 0, nullptr, HostState::Claimed},         {"warm", 0, nullptr, HostState::Spare},
        {"readahead", 0, nullptr, HostState::Spare},       {"quit", 0, nullptr, HostState::Ended},
        {"release", 440, kHandshake, HostState::Spare},    {"name", 440, kHandshake, HostState::Spare},
        {"getpagefit", 440, kHandshake, HostState::Spare}, {"setpagefit", 440, kHandshake, HostState::Spare},
        {"open", 440, kHandshake, HostState::Spare},       {"close", 440, kHandshake, HostState::Spare},
        {"frobnicate", 440, kHandshake, HostState::Spare}};
    for (const std::string& call : kDocumentCalls)
        rows.push_back({call.c_str(), 440, kHandshake, HostState::Spare});
    return rows;
}

// A claimed host without a document refuses the document calls.
std::vector<Row> claimedRows() {
    std::vector<Row> rows = {{"hello", 0, nullptr, HostState::Claimed},
                             {"warm", 0, nullptr, HostState::Claimed},
                             {"readahead", 440, "Only a clean spare host reads ahead.", HostState::Claimed},
                             {"release", 0, nullptr, HostState::Spare},
                             {"quit", 0, nullptr, HostState::Ended},
                             {"name", 0, nullptr, HostState::Claimed},
                             {"getpagefit", 0, nullptr, HostState::Claimed},
                             {"setpagefit", 0, nullptr, HostState::Claimed},
                             {"open", 0, nullptr, HostState::DocumentOpen},
                             {"close", 4248, kNoDocument, HostState::Claimed},
                             {"frobnicate", 438, "Object doesn't support this property or method: frobnicate",
                              HostState::Claimed}};
    for (const std::string& call : kDocumentCalls)
        rows.push_back({call.c_str(), 4248, kNoDocument, HostState::Claimed});
    return rows;
}

// An open document takes every call but release and readahead.
std::vector<Row> documentOpenRows() {
    std::vector<Row> rows = {
        {"hello", 0, nullptr, HostState::DocumentOpen},
        {"warm", 0, nullptr, HostState::DocumentOpen},
        {"readahead", 440, "Only a clean spare host reads ahead.", HostState::DocumentOpen},
        {"release", 440, "A document is still open.", HostState::DocumentOpen},
        {"quit", 0, nullptr, HostState::Ended},
        {"name", 0, nullptr, HostState::DocumentOpen},
        {"getpagefit", 0, nullptr, HostState::DocumentOpen},
        {"setpagefit", 0, nullptr, HostState::DocumentOpen},
        {"open", 0, nullptr, HostState::DocumentOpen},
        {"close", 0, nullptr, HostState::Claimed},
        {"frobnicate", 438, nullptr, HostState::DocumentOpen}};
    for (const std::string& call : kDocumentCalls)
        rows.push_back({call.c_str(), 0, nullptr, HostState::DocumentOpen});
    return rows;
}

// An ended host answers nothing but refusals.
std::vector<Row> endedRows() {
    std::vector<Row> rows;
    for (const char* request : {"hello", "warm", "readahead", "release", "quit", "name", "open", "close"})
        rows.push_back({request, 440, "The engine host has ended.", HostState::Ended});
    return rows;
}

struct TableRow {
    Start start;
    Row row;
};

std::vector<TableRow> lifecycleTable() {
    std::vector<TableRow> table;
    for (const auto& [start, rows] :
         {std::pair{Start::Spare, spareRows()}, std::pair{Start::Claimed, claimedRows()},
          std::pair{Start::DocumentOpen, documentOpenRows()}, std::pair{Start::Ended, endedRows()}}) {
        for (const Row& row : rows) table.push_back({start, row});
    }
    return table;
}

std::string rowName(const ::testing::TestParamInfo<TableRow>& info) {
    const char* const starts[] = {"Spare", "Claimed", "DocumentOpen", "Ended"};
    return std::string(starts[static_cast<int>(info.param.start)]) + "_" + info.param.row.request;
}

}  // namespace

class HostLifecycleTable : public ::testing::TestWithParam<TableRow> {};

TEST_P(HostLifecycleTable, TheRequestIsAnsweredAsTheTableSays) {
    const Row& row = GetParam().row;
    std::string document;
    std::unique_ptr<FakeHost> host = hostIn(GetParam().start, &document);
    std::string payload;
    const protocol::Message reply = host->call(requestLine(row.request, document, &payload), payload);
    EXPECT_EQ(reply.is("ok") ? 0 : reply.getInt("number"), row.error) << reply.get("description");
    if (row.description) {
        EXPECT_EQ(reply.get("description"), row.description);
    }
    EXPECT_EQ(host->dispatcher.state(), row.after) << wordhost::stateName(host->dispatcher.state());
}

INSTANTIATE_TEST_SUITE_P(Rows, HostLifecycleTable, ::testing::ValuesIn(lifecycleTable()), rowName);

TEST(HostLifecycle, RequestNamesMatchWithoutRegardToCase) {
    FakeHost host;
    EXPECT_EQ(host.errorOf("HELLO version=1"), 0);
    EXPECT_EQ(host.call("Name").get("value"), "Microsoft Word");
    EXPECT_EQ(host.errorOf("QUIT"), 0);
    EXPECT_TRUE(host.dispatcher.quitRequested());
}

TEST(HostLifecycle, TheEngineStartsOnceWithTheFirstRequestThatNeedsItAndWarmsOnce) {
    FakeHost host;
    EXPECT_EQ(host.errorOf("getpagefit"), 440);
    EXPECT_EQ(host.office.starts, 0);
    EXPECT_EQ(host.errorOf("warm"), 0);
    EXPECT_EQ(host.errorOf("warm"), 0);
    EXPECT_EQ(host.errorOf("hello version=1"), 0);
    EXPECT_EQ(host.office.starts, 1);
    EXPECT_EQ(host.office.warmUps, 1);
}

TEST(HostLifecycle, AWarmUpWaitsForAnIdleClientAndIsNotLostWhenSkipped) {
    FakeHost host;
    bool idle = false;
    host.dispatcher.setIdleCheck([&] { return idle; });
    EXPECT_EQ(host.errorOf("warm"), 0);
    EXPECT_EQ(host.office.starts, 1);  // the engine starts all the same
    EXPECT_EQ(host.office.warmUps, 0);
    idle = true;
    EXPECT_EQ(host.errorOf("warm"), 0);
    EXPECT_EQ(host.office.warmUps, 1);
    EXPECT_EQ(host.dispatcher.state(), HostState::Spare);
}

TEST(HostLifecycle, AFailedHandshakeLeavesTheHostASpare) {
    FakeHost host;
    host.office.failStart = true;
    EXPECT_EQ(host.errorOf("hello version=1"), 429);
    EXPECT_EQ(host.dispatcher.state(), HostState::Spare);
    EXPECT_EQ(host.errorOf("name"), 440);
    host.office.failStart = false;
    EXPECT_EQ(host.errorOf("hello version=2"), 429);
    EXPECT_EQ(host.errorOf("hello version=x"), 440);
    EXPECT_EQ(host.dispatcher.state(), HostState::Spare);
    EXPECT_EQ(host.errorOf("hello version=1"), 0);
    EXPECT_EQ(host.dispatcher.state(), HostState::Claimed);
}

TEST(HostLifecycle, AClaimedHostIsRegisteredUntilReleasedAndReleaseForgetsThePageFit) {
    FakeHost host;
    const auto registered = [] {
        const std::vector<int> hosts = protocol::runningHosts();
        return std::count(hosts.begin(), hosts.end(), static_cast<int>(::getpid())) == 1;
    };
    EXPECT_FALSE(registered());
    EXPECT_EQ(host.call("hello version=1").get("folder"), host.folder.path());
    EXPECT_TRUE(registered());
    EXPECT_EQ(host.errorOf("setpagefit value=2"), 0);
    EXPECT_EQ(host.errorOf("release"), 0);
    EXPECT_FALSE(registered());
    EXPECT_EQ(host.errorOf("hello version=1"), 0);
    EXPECT_EQ(host.call("getpagefit").get("value"), "0");
    EXPECT_EQ(host.errorOf("quit"), 0);
    EXPECT_FALSE(registered());
}

TEST(HostLifecycle, AnOpenThatFailsClosesTheDocumentBeforeButBadArgumentsChangeNothing) {
    FakeHost host;
    const std::string good = host.addDocument("good.docx", {pagesWithLines({1}), {}, {}});
    const std::string bad = host.addDocument("bad.docx", {pagesWithLines({1}), {}, {}});
    host.office.failOpen.insert(bad);
    ASSERT_EQ(host.errorOf("hello version=1"), 0);
    ASSERT_EQ(host.errorOf("open path=" + good), 0);

    const protocol::Message empty = host.call("open path=");
    EXPECT_EQ(empty.get("description"), "Bad parameter: no document was named.");
    EXPECT_EQ(host.dispatcher.state(), HostState::DocumentOpen);
    EXPECT_EQ(host.office.openDocuments, 1);
    EXPECT_EQ(host.errorOf("moveup unit=5 extend=7"), 440);
    EXPECT_EQ(host.dispatcher.state(), HostState::DocumentOpen);

    const protocol::Message refused = host.call("open path=" + bad);
    EXPECT_EQ(refused.get("description"), "\"" + bad + "\" is not a Word document.");
    EXPECT_EQ(host.dispatcher.state(), HostState::Claimed);
    EXPECT_EQ(host.office.openDocuments, 0);
    EXPECT_EQ(host.errorOf("text"), 4248);
    EXPECT_EQ(host.errorOf("release"), 0);  // a refused document spoils nothing
}

TEST(HostLifecycle, ADocumentReadAheadServesItsOpenOnlyWhileTheFileIsTheSame) {
    FakeHost host;
    const std::string path = host.addDocument("next.docx", {pagesWithLines({1, 1}), {}, {}});
    EXPECT_EQ(host.errorOf("readahead path=" + path), 0);
    EXPECT_EQ(host.office.opens, 1);
    EXPECT_EQ(host.office.exports, 0);  // the engine's own page count serves
    ASSERT_EQ(host.errorOf("hello version=1"), 0);
    const protocol::Message opened = host.call("open path=" + path);
    EXPECT_FALSE(opened.has("readaheadfailed"));
    EXPECT_EQ(host.office.opens, 1);
    ASSERT_EQ(host.errorOf("close"), 0);
    ASSERT_EQ(host.errorOf("release"), 0);

    // Read ahead, then changed: opened afresh in its turn.
    EXPECT_EQ(host.errorOf("readahead path=" + path), 0);
    EXPECT_EQ(host.office.opens, 2);
    std::ofstream(path, std::ios::app) << " changed";
    ASSERT_EQ(host.errorOf("hello version=1"), 0);
    ASSERT_EQ(host.errorOf("open path=" + path), 0);
    EXPECT_EQ(host.office.opens, 3);
    EXPECT_EQ(host.office.openDocuments, 1);  // the stale one is gone

    // Read ahead, then another document opened: the one read ahead is dropped.
    ASSERT_EQ(host.errorOf("close"), 0);
    ASSERT_EQ(host.errorOf("release"), 0);
    const std::string other = host.addDocument("other.docx", {pagesWithLines({1}), {}, {}});
    EXPECT_EQ(host.errorOf("readahead path=" + path), 0);
    ASSERT_EQ(host.errorOf("hello version=1"), 0);
    ASSERT_EQ(host.errorOf("open path=" + other), 0);
    EXPECT_EQ(host.office.openDocuments, 1);
}

TEST(HostLifecycle, AFailedReadAheadMarksTheEngineForTheRestOfItsLife) {
    FakeHost host;
    const std::string broken = host.addDocument("broken.docx", {pagesWithLines({1}), {}, {}});
    const std::string fine = host.addDocument("fine.docx", {pagesWithLines({1}), {}, {}});
    host.office.failOpen.insert(broken);

    // A file that cannot even be looked at is no failure of the engine.
    EXPECT_EQ(host.errorOf("readahead path=" + host.folder.path() + "/missing.docx"), 440);
    EXPECT_EQ(host.office.opens, 0);
    EXPECT_EQ(host.errorOf("readahead path=" + broken), 440);
    EXPECT_EQ(host.dispatcher.state(), HostState::Spare);
    EXPECT_EQ(host.errorOf("readahead path=" + fine), 440);
    EXPECT_EQ(host.office.opens, 1);

    ASSERT_EQ(host.errorOf("hello version=1"), 0);
    EXPECT_EQ(host.call("open path=" + fine).get("readaheadfailed"), "1");
    ASSERT_EQ(host.errorOf("close"), 0);
    const protocol::Message release = host.call("release");
    EXPECT_EQ(release.get("description"), "The engine failed reading a document ahead.");
    EXPECT_EQ(host.dispatcher.state(), HostState::Claimed);
    EXPECT_EQ(host.errorOf("quit"), 0);
}

TEST(HostLifecycle, TheTableRefusesBeforeTheArgumentsAreLookedAt) {
    FakeHost host;
    EXPECT_EQ(host.call("goto what=3").get("description"), kHandshake);
    ASSERT_EQ(host.errorOf("hello version=1"), 0);
    EXPECT_EQ(host.errorOf("property index=3"), 4248);
    EXPECT_EQ(host.errorOf("setindents", "not an edit"), 4248);
}
