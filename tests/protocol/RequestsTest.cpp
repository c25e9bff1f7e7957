// Every request and every reply the client reads comes back as it was written, through the wire;
// what a client may leave out reads as Word's default, and a malformed number is refused.
#include <gtest/gtest.h>

#include "protocol/Replies.h"
#include "protocol/Requests.h"
#include "tests/protocol/OverTheWire.h"

using namespace protocol;

namespace {

template <typename Request>
Request roundTrip(const Request& request) {
    const Message message = overTheWire(request.encode());
    EXPECT_TRUE(message.is(Request::kName));
    return Request::decode(message);
}

}  // namespace

TEST(Requests, ReadBackAsWritten) {
    for (const std::string path : {"/tmp/a b/Bericht 1=2.docx", "/home/ü/名前\n%20.doc", ""}) {
        EXPECT_EQ(roundTrip(OpenRequest{path}).path, path);
        EXPECT_EQ(roundTrip(ReadAheadRequest{path}).path, path);
    }
    EXPECT_EQ(roundTrip(HelloRequest{}), HelloRequest{kProtocolVersion});
    EXPECT_EQ(roundTrip(HelloRequest{7}), HelloRequest{7});
    EXPECT_EQ(roundTrip(PropertyRequest{14}), PropertyRequest{14});
    EXPECT_EQ(roundTrip(SetPageFitRequest{-3}), SetPageFitRequest{-3});
    EXPECT_EQ(roundTrip(EndKeyRequest{wd::Story, wd::Extend}), (EndKeyRequest{wd::Story, wd::Extend}));
    EXPECT_EQ(roundTrip(CloseRequest{1}), CloseRequest{1});
    for (const GoToRequest go :
         {GoToRequest{wd::GoToPage, wd::GoToFirst, 2}, GoToRequest{1, wd::GoToLast, {}},
          GoToRequest{1, wd::GoToNext, {}, 5}, GoToRequest{4, 3, -7, 0}}) {
        EXPECT_EQ(roundTrip(go), go);
    }
    const MoveUpRequest up{wd::Line, 32767, wd::Extend};
    EXPECT_EQ(roundTrip(up), up);
    EXPECT_EQ(roundTrip(MoveUpRequest{9, -1, 0}), (MoveUpRequest{9, -1, 0}));
    const SetIndentsRequest indents{{{0, true, -12.5}, {7, false, 0}, {1u << 20, true, 1e-3}}};
    EXPECT_EQ(roundTrip(indents), indents);
    EXPECT_EQ(roundTrip(SetIndentsRequest{}), SetIndentsRequest{});
}

TEST(Requests, ThoseWithoutArgumentsAreTheirNameAlone) {
    EXPECT_EQ(CutRequest().encode().encode(), "cut\n");
    EXPECT_EQ(QuitRequest().encode().encode(), "quit\n");
    EXPECT_TRUE(roundTrip(WarmRequest()) == WarmRequest());
    EXPECT_TRUE(overTheWire(GetPageFitRequest().encode()).is("GetPageFit"));
}

template <typename Reply>
Reply replyRoundTrip(const Reply& reply) {
    const Message message = overTheWire(reply.encode());
    EXPECT_TRUE(message.is(OkReply::kName));
    return Reply::read(message);
}

TEST(Replies, ReadBackAsWritten) {
    const HelloReply hello{kProtocolVersion, kEngineName, "/tmp/marrowdale-wordhost-a b=c"};
    EXPECT_EQ(replyRoundTrip(hello), hello);
    EXPECT_EQ(replyRoundTrip(OpenReply{true}), OpenReply{true});
    EXPECT_EQ(replyRoundTrip(OpenReply{false}), OpenReply{false});
    EXPECT_EQ(replyRoundTrip(NameReply{kEngineName}), NameReply{kEngineName});
    EXPECT_EQ(replyRoundTrip(NumberReply{-4}), NumberReply{-4});
    const ParagraphsReply paragraphs{{{-28.35, 0}, {0, 14.2}}};
    EXPECT_EQ(replyRoundTrip(paragraphs), paragraphs);
    const SetIndentsReply refused{{{1, 5941, "No such paragraph: 7 = 7%\n"}}};
    EXPECT_EQ(replyRoundTrip(refused), refused);
    EXPECT_EQ(replyRoundTrip(SetIndentsReply{}), SetIndentsReply{});
    const std::string text("line one\r\0two \xE2\x82\xAC", 17);
    EXPECT_EQ(replyRoundTrip(TextReply{text}).text, text);

    const Message error = overTheWire(ErrorReply{5941, "No such member"}.encode());
    EXPECT_TRUE(error.is(ErrorReply::kName));
    EXPECT_EQ(ErrorReply::read(error, 440), (ErrorReply{5941, "No such member"}));
    EXPECT_EQ(ErrorReply::read(Message("error"), 440).number, 440);  // a bare error is the general one
}

TEST(Replies, WhatIsLeftOutReadsAsCleanAndMalformedNumbersAreRefused) {
    EXPECT_FALSE(OpenReply::read(Message("ok")).readAheadFailed);
    EXPECT_THROW(NumberReply::read(Message("ok")), ProtocolError);
    EXPECT_THROW(NumberReply::read(Message("ok").set("value", "14 pages")), ProtocolError);
    EXPECT_THROW(ParagraphsReply::read(Message("ok").setPayload("12 x\n")), ProtocolError);
}

TEST(Requests, WhatIsLeftOutReadsAsWordsDefault) {
    EXPECT_EQ(GoToRequest::decode(Message("goto")), (GoToRequest{wd::GoToPage, wd::GoToNext, {}, 1}));
    EXPECT_EQ(MoveUpRequest::decode(Message("moveup")), (MoveUpRequest{wd::Line, 1, 0}));
    EXPECT_EQ(EndKeyRequest::decode(Message("endkey")), (EndKeyRequest{wd::Story, 0}));
    EXPECT_EQ(CloseRequest::decode(Message("close")).saveChanges, wd::DoNotSaveChanges);
    EXPECT_EQ(HelloRequest::decode(Message("hello")).version, 0);  // no version is no handshake
    EXPECT_EQ(OpenRequest::decode(Message("open")).path, "");
    // Keys match without regard to case.
    EXPECT_EQ(MoveUpRequest::decode(Message("MoveUp").set("COUNT", 4)).count, 4);
    // The goto the conversion sends is as short as it was.
    EXPECT_EQ((GoToRequest{wd::GoToPage, wd::GoToFirst, 2}.encode().encode()),
              "goto what=1 which=1 name=2\n");
}

TEST(Requests, MissingOrMalformedNumbersAreRefused) {
    EXPECT_THROW(PropertyRequest::decode(Message("property")), ProtocolError);
    EXPECT_THROW(SetPageFitRequest::decode(Message("setpagefit")), ProtocolError);
    EXPECT_THROW(MoveUpRequest::decode(Message("moveup").set("count", "many")), ProtocolError);
    EXPECT_THROW(GoToRequest::decode(Message("goto").set("name", "2x")), ProtocolError);
    EXPECT_THROW(EndKeyRequest::decode(Message("endkey").set("extend", "")), ProtocolError);
    EXPECT_THROW(HelloRequest::decode(Message("hello").set("version", "1.0")), ProtocolError);
}
