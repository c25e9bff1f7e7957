// The open document as the host serves it, on a fake office: the selection over pages, the cut,
// the layout after indent writes and the pages drawn ahead.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <set>

#include "protocol/PagePicture.h"
#include "tests/wordhost/FakeOffice.h"

using wordhosttest::FakeContent;
using wordhosttest::FakeHost;
using wordhosttest::pagesWithLines;
using wordhosttest::PictureTag;

namespace {

// The pages a cut reply shows, as (export, layout page); nothing for an empty cut.
std::vector<PictureTag> cutTags(FakeHost& host) {
    protocol::Message reply = host.call("cut");
    EXPECT_TRUE(reply.is("ok")) << reply.get("description");
    const std::optional<protocol::PagePicture> picture = protocol::takeCutPicture(reply);
    return picture ? wordhosttest::tagsOf(*picture) : std::vector<PictureTag>{};
}

int pagesLeft(FakeHost& host) { return static_cast<int>(host.call("property index=14").getInt("value")); }

// How the conversion takes one page: to the start of page 2, up to the top; the last page whole.
std::vector<PictureTag> cutFirstPage(FakeHost& host) {
    const bool last = pagesLeft(host) == 1;
    EXPECT_EQ(host.errorOf("goto what=1 which=1 name=2"), 0);
    EXPECT_EQ(host.errorOf("moveup unit=5 count=1073741824 extend=1"), 0);
    if (last) {
        EXPECT_EQ(host.errorOf("endkey unit=6 extend=1"), 0);
    }
    return cutTags(host);
}

std::string edits(const std::vector<protocol::IndentEdit>& list) {
    std::string payload;
    for (const auto& edit : list) protocol::appendIndentEdit(payload, edit);
    return payload;
}

}  // namespace

TEST(HostDocument, SelectsLinesAcrossPagesAndCutsThePagesTheyStandOn) {
    FakeHost host;
    host.openDocumentWithLines({3, 2, 4});
    ASSERT_EQ(host.errorOf("goto what=1 which=1 name=2"), 0);
    EXPECT_EQ(host.call("text").payload(), "");
    EXPECT_TRUE(cutTags(host).empty());  // an insertion point cuts nothing
    EXPECT_EQ(pagesLeft(host), 3);

    // One line up from the top of page 2 is the last line of page 1; a cut takes its whole page.
    ASSERT_EQ(host.errorOf("moveup unit=5 count=1 extend=1"), 0);
    EXPECT_EQ(host.call("text").payload(), "p1l3\r");
    EXPECT_EQ(cutTags(host), (std::vector<PictureTag>{{1, 0}}));
    EXPECT_EQ(pagesLeft(host), 2);
    EXPECT_EQ(host.call("text").payload(), "");

    // Page numbers count the pages left; moving up stops at the start of the document.
    ASSERT_EQ(host.errorOf("goto what=1 which=1 name=2"), 0);
    ASSERT_EQ(host.errorOf("moveup unit=5 count=3 extend=1"), 0);
    EXPECT_EQ(host.call("text").payload(), "p2l1\rp2l2\r");
    ASSERT_EQ(host.errorOf("moveup unit=5 count=1 extend=0"), 0);
    ASSERT_EQ(host.errorOf("endkey unit=6 extend=1"), 0);
    EXPECT_EQ(host.call("text").payload(), "p2l1\rp2l2\rp3l1\rp3l2\rp3l3\rp3l4\r");
    const std::vector<PictureTag> both = cutTags(host);
    EXPECT_EQ(both, (std::vector<PictureTag>{{1, 1}, {1, 2}}));
    EXPECT_EQ(pagesLeft(host), 0);
    EXPECT_TRUE(cutTags(host).empty());
}

TEST(HostDocument, GoToCountsAndClampsLikeWord) {
    FakeHost host;
    host.openDocumentWithLines({1, 1, 1, 1});
    const auto firstSelectedPage = [&](const std::string& go) {
        EXPECT_EQ(host.errorOf(go), 0);
        EXPECT_EQ(host.errorOf("endkey unit=6 extend=1"), 0);
        return host.call("text").payload().substr(0, 2);
    };
    EXPECT_EQ(firstSelectedPage("goto which=1 name=3"), "p3");
    EXPECT_EQ(firstSelectedPage("goto which=1 name=99"), "p4");
    EXPECT_EQ(firstSelectedPage("goto which=1 name=-5"), "p1");
    EXPECT_EQ(firstSelectedPage("goto which=-1"), "p4");         // the last page
    EXPECT_EQ(firstSelectedPage("goto which=2 count=2"), "p3");  // two on from the first
    EXPECT_EQ(firstSelectedPage("goto which=3"), "p1");
    EXPECT_EQ(host.call("goto which=7").get("description"), "Bad parameter: which.");
    EXPECT_EQ(host.errorOf("goto what=2 name=1"), 438);
    EXPECT_EQ(host.errorOf("moveup unit=4"), 438);
    EXPECT_EQ(host.errorOf("endkey unit=5"), 438);
}

TEST(HostDocument, TheConversionsLoopCutsEveryPageOnceInOrder) {
    FakeHost host;
    host.openDocumentWithLines({3, 1, 5, 2});
    std::vector<PictureTag> cut;
    while (pagesLeft(host) > 0) {
        const std::vector<PictureTag> page = cutFirstPage(host);
        ASSERT_EQ(page.size(), 1u);
        cut.push_back(page[0]);
    }
    EXPECT_EQ(cut, (std::vector<PictureTag>{{1, 0}, {1, 1}, {1, 2}, {1, 3}}));
    EXPECT_EQ(host.office.exports, 1);
}

TEST(HostDocument, TheFirstPagesOfALayoutStillBeingExportedAreCutWithoutWaitingForTheRest) {
    FakeHost host;
    host.office.pagesReadyAtFirst = 2;
    host.openDocumentWithLines({2, 3, 1, 4, 2});
    // Page 1 ends where page 2 starts: the two pages exported so far are enough to take it.
    auto first = std::async(std::launch::async, [&] {
        EXPECT_EQ(host.errorOf("goto what=1 which=1 name=2"), 0);
        EXPECT_EQ(host.errorOf("moveup unit=5 count=1073741824 extend=1"), 0);
        return cutTags(host);
    });
    const bool answered = first.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    host.office.releaseLayout();  // lets a host waiting by mistake go on, so the test ends
    ASSERT_TRUE(answered) << "the first page waited for the rest of the layout";
    EXPECT_EQ(first.get(), (std::vector<PictureTag>{{1, 0}}));

    std::vector<PictureTag> rest;
    while (pagesLeft(host) > 0) {
        for (const PictureTag& tag : cutFirstPage(host)) rest.push_back(tag);
    }
    EXPECT_EQ(rest, (std::vector<PictureTag>{{1, 1}, {1, 2}, {1, 3}, {1, 4}}));
    EXPECT_EQ(host.office.exports, 1);
}

TEST(HostDocument, IndentWritesAreLaidOutOnceWhenPagesAreNeeded) {
    FakeHost host;
    FakeContent content{pagesWithLines({1, 1, 1}), {{0, 0}, {10, 0}, {-5, 3}}, pagesWithLines({2, 2})};
    const std::string path = host.addDocument("indents.docx", content);
    ASSERT_EQ(host.errorOf("hello version=1"), 0);
    ASSERT_EQ(host.errorOf("open path=" + path), 0);

    const protocol::Message paragraphs = host.call("paragraphs");
    EXPECT_EQ(paragraphs.getInt("count"), 3);
    EXPECT_EQ(protocol::decodeIndents(paragraphs.payload()), content.paragraphs);
    EXPECT_EQ(host.errorOf("setindents", edits({{2, true, 0}, {2, false, 0}})), 0);
    EXPECT_EQ(host.errorOf("repaginate"), 0);
    EXPECT_EQ(pagesLeft(host), 2);  // the engine's own layout: no export yet
    EXPECT_EQ(host.office.exports, 0);
    EXPECT_EQ(protocol::decodeIndents(host.call("paragraphs").payload())[2],
              (protocol::ParagraphIndents{0, 0}));

    EXPECT_EQ(cutFirstPage(host), (std::vector<PictureTag>{{1, 0}}));
    EXPECT_EQ(pagesLeft(host), 1);
    EXPECT_EQ(cutFirstPage(host), (std::vector<PictureTag>{{1, 1}}));
    EXPECT_EQ(host.office.exports, 1);

    // Writing what is there already changes nothing; a batch that is no batch is refused whole.
    EXPECT_EQ(host.errorOf("setindents", edits({{1, true, 10}})), 0);
    EXPECT_EQ(host.office.indentWrites, 2);
    EXPECT_EQ(host.errorOf("setindents", "0 up 3\n"), 440);
    EXPECT_EQ(pagesLeft(host), 0);
    EXPECT_EQ(host.office.exports, 1);
}

// A count of pages on comes from the wire: any number is taken, clamped to the document.
TEST(HostDocument, GoToNextTakesAnyCountOfPages) {
    FakeHost host;
    host.openDocumentWithLines({1, 1, 1});
    ASSERT_EQ(host.errorOf("goto what=1 which=2 count=9223372036854775807"), 0);
    ASSERT_EQ(host.errorOf("moveup unit=5 count=1 extend=1"), 0);
    EXPECT_EQ(host.call("text").payload(), "p2l1\r");  // from the start of the last page
    ASSERT_EQ(host.errorOf("goto what=1 which=2 count=-9223372036854775808"), 0);
    ASSERT_EQ(host.errorOf("moveup unit=5 count=1 extend=1"), 0);
    EXPECT_EQ(host.call("text").payload(), "");  // the first page: nothing above it
}

// Each write of a batch is a call of its own to Word: one refused (a paragraph that is not there is
// Word's missing member) keeps none of the others from being made, and the reply names it.
TEST(HostDocument, AnIndentBatchTriesEveryWriteAndNamesTheRefusedOnes) {
    FakeHost host;
    const std::string path = host.addDocument("indents.docx", {pagesWithLines({1}), {{-4, 0}, {0, -2}}, {}});
    ASSERT_EQ(host.errorOf("hello version=1"), 0);
    ASSERT_EQ(host.errorOf("open path=" + path), 0);

    protocol::Message reply =
        host.call("setindents", edits({{0, true, 0}, {5, true, 0}, {1, false, 0}, {7, false, 0}}));
    ASSERT_TRUE(reply.is("ok")) << reply.get("description");
    EXPECT_EQ(reply.getInt("failed"), 2);
    const std::string missing = "The requested member of the collection does not exist.";
    EXPECT_EQ(protocol::decodeIndentWriteFailures(reply.payload()),
              (std::vector<protocol::IndentWriteFailure>{{1, 5941, missing}, {3, 5941, missing}}));
    EXPECT_EQ(host.office.indentWrites, 2);
    EXPECT_EQ(protocol::decodeIndents(host.call("paragraphs").payload()),
              (std::vector<protocol::ParagraphIndents>{{0, 0}, {0, 0}}));

    reply = host.call("setindents", edits({{0, true, 3}}));
    EXPECT_FALSE(reply.has("failed"));
    EXPECT_TRUE(reply.payload().empty());
}

TEST(HostDocument, ALayoutAfterACutLeavesOutThePagesCutAlready) {
    FakeHost host;
    const std::string path =
        host.addDocument("grows.docx", {pagesWithLines({1, 1, 1}), {{0, 0}}, pagesWithLines({1, 1, 1, 1})});
    ASSERT_EQ(host.errorOf("hello version=1"), 0);
    ASSERT_EQ(host.errorOf("open path=" + path), 0);
    EXPECT_EQ(cutFirstPage(host), (std::vector<PictureTag>{{1, 0}}));
    EXPECT_EQ(host.errorOf("setindents", edits({{0, true, 36}})), 0);
    EXPECT_EQ(pagesLeft(host), 3);  // four pages laid out anew, the one cut left out
    EXPECT_EQ(host.office.exports, 2);
    EXPECT_EQ(cutFirstPage(host), (std::vector<PictureTag>{{2, 1}}));
}

TEST(HostDocument, PagesDrawnAheadAreHandedOutInOrderAndDrawnOnce) {
    FakeHost host;
    host.openDocumentWithLines({1, 1, 1, 1, 1});
    ASSERT_EQ(host.errorOf("goto which=1 name=1"), 0);  // lays the document out
    // Three pages are drawn before anyone asks for them.
    ASSERT_TRUE(host.office.waitForRenders(3));
    std::vector<PictureTag> cut;
    while (pagesLeft(host) > 0) cut.push_back(cutFirstPage(host).at(0));
    EXPECT_EQ(cut, (std::vector<PictureTag>{{1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}}));
    const std::vector<PictureTag> drawn = host.office.renders();
    EXPECT_EQ(drawn.size(), 5u);
    std::set<int> pages;
    for (const PictureTag& tag : drawn) pages.insert(tag.layoutPage);
    EXPECT_EQ(pages.size(), 5u);
}

TEST(HostDocument, PagesDrawnAheadAreDroppedWhenTheLayoutChanges) {
    FakeHost host;
    const std::string path = host.addDocument(
        "relaid.docx", {pagesWithLines({1, 1, 1, 1}), {{0, 0}}, pagesWithLines({1, 1, 1, 1})});
    ASSERT_EQ(host.errorOf("hello version=1"), 0);
    ASSERT_EQ(host.errorOf("open path=" + path), 0);
    EXPECT_EQ(cutFirstPage(host), (std::vector<PictureTag>{{1, 0}}));
    ASSERT_TRUE(host.office.waitForRenders(4));  // pages 2 to 4 of the first layout are ready
    ASSERT_EQ(host.errorOf("setindents", edits({{0, false, 20}})), 0);
    EXPECT_EQ(cutFirstPage(host), (std::vector<PictureTag>{{2, 1}}));
    EXPECT_EQ(cutFirstPage(host), (std::vector<PictureTag>{{2, 2}}));
    EXPECT_EQ(cutFirstPage(host), (std::vector<PictureTag>{{2, 3}}));
}

// The lines of pages drawn ahead are read on the drawing thread; a new layout must not move over
// the lines the old one had.
TEST(HostDocument, LinesReadWhileDrawingAheadAreThoseOfTheLayoutInUse) {
    FakeHost host;
    std::vector<wordhosttest::FakePage> relaid = pagesWithLines({3, 1, 1});
    relaid[1].lines = {"new1", "new2"};
    const std::string path = host.addDocument("relines.docx", {pagesWithLines({1, 2, 2}), {{0, 0}}, relaid});
    ASSERT_EQ(host.errorOf("hello version=1"), 0);
    ASSERT_EQ(host.errorOf("open path=" + path), 0);
    EXPECT_EQ(cutFirstPage(host), (std::vector<PictureTag>{{1, 0}}));
    ASSERT_TRUE(host.office.waitForRenders(3));  // pages 2 and 3 drawn and read ahead
    ASSERT_EQ(host.errorOf("goto what=1 which=1 name=2"), 0);
    ASSERT_EQ(host.errorOf("moveup unit=5 count=1073741824 extend=1"), 0);
    EXPECT_EQ(host.call("text").payload(), "p2l1\rp2l2\r");

    ASSERT_EQ(host.errorOf("setindents", edits({{0, true, 12}})), 0);
    ASSERT_EQ(host.errorOf("goto what=1 which=1 name=2"), 0);
    ASSERT_EQ(host.errorOf("moveup unit=5 count=1073741824 extend=1"), 0);
    EXPECT_EQ(host.call("text").payload(), "new1\rnew2\r");
}

TEST(HostDocument, AFailedExportOrDrawingLeavesTheDocumentAsItWas) {
    FakeHost host;
    host.openDocumentWithLines({1, 1});
    host.office.failExports = 1;
    EXPECT_EQ(host.call("goto which=1 name=1").get("description"), "The layout cannot be exported.");
    EXPECT_EQ(host.errorOf("goto which=1 name=1"), 0);  // tried again
    EXPECT_EQ(host.office.exports, 1);

    // A later export that fails keeps the layout there was and is tried at the next call.
    ASSERT_EQ(host.errorOf("setindents", edits({{0, true, 7}})), 0);
    host.office.failExports = 1;
    EXPECT_EQ(host.errorOf("endkey unit=6 extend=1"), 440);
    EXPECT_EQ(host.errorOf("endkey unit=6 extend=1"), 0);
    EXPECT_EQ(cutTags(host), (std::vector<PictureTag>{{2, 0}, {2, 1}}));
    EXPECT_EQ(host.office.exports, 2);
    EXPECT_EQ(pagesLeft(host), 0);

    FakeHost drawing;
    drawing.openDocumentWithLines({1, 1});
    drawing.office.failRenderOfPage = 0;
    ASSERT_EQ(drawing.errorOf("goto which=1 name=2"), 0);
    ASSERT_EQ(drawing.errorOf("moveup unit=5 count=1 extend=1"), 0);
    EXPECT_EQ(drawing.call("cut").get("description"), "The page cannot be drawn.");
    EXPECT_EQ(pagesLeft(drawing), 2);
    drawing.office.failRenderOfPage = -1;
    EXPECT_EQ(cutTags(drawing), (std::vector<PictureTag>{{1, 0}}));
    EXPECT_EQ(pagesLeft(drawing), 1);
}

TEST(HostDocument, ACutTooLargeForOnePictureIsRefusedAndTheDocumentKept) {
    FakeHost host;
    std::vector<wordhosttest::FakePage> pages = pagesWithLines({1, 1});
    for (auto& page : pages) page.width = page.height = 9000;  // 324 MB a page
    const std::string path = host.addDocument("huge.docx", {pages, {}, {}});
    ASSERT_EQ(host.errorOf("hello version=1"), 0);
    ASSERT_EQ(host.errorOf("open path=" + path), 0);
    ASSERT_EQ(host.errorOf("goto which=1 name=1"), 0);
    ASSERT_EQ(host.errorOf("endkey unit=6 extend=1"), 0);
    EXPECT_EQ(host.call("cut").get("description"),
              "The selection is too large to cut as one picture (2 pages).");
    EXPECT_EQ(pagesLeft(host), 2);
}

TEST(HostDocument, ClosingLetsGoOfTheDocument) {
    FakeHost host;
    host.openDocumentWithLines({2});
    EXPECT_EQ(host.office.openDocuments, 1);
    EXPECT_EQ(host.errorOf("close savechanges=0"), 0);
    EXPECT_EQ(host.office.openDocuments, 0);
    host.openDocumentWithLines({2});
    host.dispatcher.close();  // as the host does on its way out
    EXPECT_EQ(host.office.openDocuments, 0);
}
