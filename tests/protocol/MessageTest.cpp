#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "protocol/Message.h"

using protocol::Message;
using protocol::MessageReader;
using protocol::ProtocolError;

TEST(Message, TravelsIntactByteByByteWithPayloadAndOddValues) {
    Message sent("open");
    sent.set("path", "/home/me/My Files/100% sure=yes\xC3\xA9.docx").set("count", 200).set("points", -12.5);
    sent.setPayload(std::string("line 1\nline 2\0binary", 20));
    Message second("quit");
    const std::string wire = sent.encode() + second.encode();

    MessageReader reader;
    std::vector<Message> received;
    for (char byte : wire) {
        reader.feed(&byte, 1);
        while (auto message = reader.next()) received.push_back(*message);
    }
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].get("PATH"), "/home/me/My Files/100% sure=yes\xC3\xA9.docx");
    EXPECT_EQ(received[0].getInt("Count"), 200);
    EXPECT_DOUBLE_EQ(received[0].getDouble("points"), -12.5);
    EXPECT_EQ(received[0].payload(), std::string("line 1\nline 2\0binary", 20));
    EXPECT_TRUE(received[0].is("OPEN"));
    EXPECT_TRUE(received[1].is("Quit"));
    EXPECT_TRUE(received[1].payload().empty());
    EXPECT_TRUE(reader.empty());
}

// Page pictures arrive in pieces of any size, with the next reply right behind them, and the
// reader may be fed several pieces before it is asked for messages.
TEST(Message, LargePayloadsSurviveAnyChunkingWithTheNextMessageBehind) {
    std::string picture(3 * 1024 * 1024 + 7, '\0');
    for (std::size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<char>(i * 131 % 251);
    const std::string wire = Message("ok").set("width", 3).setPayload(picture).encode() +
                             Message("ok").setPayload("tail").encode() + Message("ok").encode();
    for (const std::size_t chunk : {std::size_t(1000), std::size_t(65536 + 3), wire.size()}) {
        MessageReader reader;
        std::vector<Message> received;
        for (std::size_t at = 0, fed = 0; at < wire.size(); at += chunk, ++fed) {
            reader.feed(wire.data() + at, std::min(chunk, wire.size() - at));
            if (fed % 3 != 0) continue;  // now and then, two pieces before asking
            while (auto message = reader.next()) received.push_back(std::move(*message));
        }
        while (auto message = reader.next()) received.push_back(std::move(*message));
        ASSERT_EQ(received.size(), 3u) << "chunk " << chunk;
        EXPECT_EQ(received[0].getInt("width"), 3);
        EXPECT_TRUE(received[0].payload() == picture) << "chunk " << chunk;
        EXPECT_EQ(received[1].payload(), "tail");
        EXPECT_TRUE(received[2].payload().empty());
        EXPECT_TRUE(reader.empty());
    }
}

TEST(Message, CommandLineIsOneLineOfTokens) {
    const std::string wire = Message("goto").set("what", 1).set("name", "a b").encode();
    EXPECT_EQ(wire, "goto what=1 name=a%20b\n");
}

TEST(Message, RejectsMalformedInput) {
    for (const char* bad : {"\n", "open path\n", "open =x\n", "bad%name x=1\n", "open path=%zz\n",
                            "open path=%4\n", "cut payload=-3\n", "cut payload=abc\n"}) {
        MessageReader reader;
        reader.feed(bad, std::strlen(bad));
        EXPECT_THROW(reader.next(), ProtocolError) << bad;
    }
    EXPECT_THROW(Message("x").getInt("missing"), ProtocolError);
    EXPECT_THROW(Message("x").set("n", "12a").getInt("n"), ProtocolError);
}
