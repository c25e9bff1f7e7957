// The indent payloads read back as they were written, through a whole message, and a line
// either side would not write is refused rather than guessed at.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "protocol/Indents.h"
#include "protocol/Message.h"

using namespace wordhost;

namespace {
// Through the wire, as the host and the client exchange it.
std::string overTheWire(const std::string& payload) {
    MessageReader reader;
    const std::string wire = Message("ok").setPayload(payload).encode();
    reader.feed(wire.data(), wire.size());
    const auto received = reader.next();
    return received ? received->payload() : std::string("lost");
}
}  // namespace

TEST(IndentPayloads, ParagraphIndentsTravelExactly) {
    const std::vector<Indents> sent{{0, 0},
                                    {-36, 18.5},
                                    {0.1, 1.0 / 3.0},
                                    {72.00000000000001, -0.0},
                                    {std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min()}};
    const std::vector<Indents> received = decodeIndents(overTheWire(encodeIndents(sent)));
    EXPECT_EQ(received, sent);
    EXPECT_TRUE(std::signbit(received[3].right)) << "-0 stays -0";
    EXPECT_TRUE(decodeIndents(encodeIndents({})).empty());
}

TEST(IndentPayloads, IndentEditsTravelExactlyAndInOrder) {
    const std::vector<IndentEdit> sent{{0, true, -7.2}, {12, false, 1.0 / 7.0}, {12, true, 0}, {4000000, false, 36}};
    std::string payload;
    for (const IndentEdit& edit : sent) appendIndentEdit(payload, edit);
    EXPECT_EQ(decodeIndentEdits(overTheWire(payload)), sent);
}

TEST(IndentPayloads, MalformedLinesAreRefused) {
    EXPECT_EQ(decodeIndents("1 2\n\n3 4\n").size(), 2u) << "empty lines carry nothing";
    for (const char* bad : {"1\n", "1 2 3\n", "1 x\n", "1 2x\n"}) {
        EXPECT_THROW(decodeIndents(bad), ProtocolError) << bad;
    }
    for (const char* bad : {"-1 left 3\n", "1 middle 3\n", "1 left\n", "1 left 3 4\n", "x left 3\n", "1.5 left 3\n"}) {
        EXPECT_THROW(decodeIndentEdits(bad), ProtocolError) << bad;
    }
}
