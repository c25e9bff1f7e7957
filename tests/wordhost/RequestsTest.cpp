// Every request with arguments reads back as the client wrote it, through the wire; what a
// client may leave out reads as Word's default, and a malformed number is refused.
#include <gtest/gtest.h>

#include "protocol/Requests.h"
#include "tests/wordhost/OverTheWire.h"

using namespace wordhost;

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
