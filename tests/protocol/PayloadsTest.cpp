// Every payload reads back as it was written, through a whole message, and one either side would
// not write is refused rather than guessed at.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "protocol/Indents.h"
#include "protocol/Message.h"
#include "protocol/PagePicture.h"
#include "tests/protocol/OverTheWire.h"

using namespace protocol;

namespace {
std::string overTheWire(const std::string& payload) {
    return overTheWire(Message("ok").setPayload(payload)).payload();
}
}  // namespace

TEST(IndentPayloads, ParagraphIndentsTravelExactly) {
    const std::vector<ParagraphIndents> sent{
        {0, 0},
        {-36, 18.5},
        {0.1, 1.0 / 3.0},
        {72.00000000000001, -0.0},
        {std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min()}};
    const std::vector<ParagraphIndents> received = decodeIndents(overTheWire(encodeIndents(sent)));
    EXPECT_EQ(received, sent);
    EXPECT_TRUE(std::signbit(received[3].right)) << "-0 stays -0";
    EXPECT_TRUE(decodeIndents(encodeIndents({})).empty());
}

TEST(IndentPayloads, IndentEditsTravelExactlyAndInOrder) {
    const std::vector<IndentEdit> sent{
        {0, true, -7.2}, {12, false, 1.0 / 7.0}, {12, true, 0}, {4000000, false, 36}};
    std::string payload;
    for (const IndentEdit& edit : sent) appendIndentEdit(payload, edit);
    EXPECT_EQ(decodeIndentEdits(overTheWire(payload)), sent);
}

TEST(IndentPayloads, MalformedLinesAreRefused) {
    EXPECT_EQ(decodeIndents("1 2\n\n3 4\n").size(), 2u) << "empty lines carry nothing";
    for (const char* bad : {"1\n", "1 2 3\n", "1 x\n", "1 2x\n"}) {
        EXPECT_THROW(decodeIndents(bad), ProtocolError) << bad;
    }
    for (const char* bad :
         {"-1 left 3\n", "1 middle 3\n", "1 left\n", "1 left 3 4\n", "x left 3\n", "1.5 left 3\n"}) {
        EXPECT_THROW(decodeIndentEdits(bad), ProtocolError) << bad;
    }
}

TEST(CutPayload, APictureTravelsExactlyAndAnEmptyCutStaysEmpty) {
    PagePicture sent;
    sent.width = 3;
    sent.height = 2;
    for (int i = 0; i < 6; ++i) sent.pixels += std::string{char(i), char(0x80 + i), '\0', '\xff'};
    const std::string pixels = sent.pixels;
    Message received = overTheWire(cutReply(sent));
    const std::optional<PagePicture> picture = takeCutPicture(received);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, 3);
    EXPECT_EQ(picture->height, 2);
    EXPECT_EQ(picture->pixels, pixels);
    EXPECT_EQ(picture->format, PixelFormat::Rgb32);

    PagePicture grey;
    grey.width = 3;
    grey.height = 2;
    grey.format = PixelFormat::Grey8;
    grey.pixels = std::string("\x00\x7f\xff\x01\x02\x03", 6);
    Message greyReceived = overTheWire(cutReply(grey));
    const std::optional<PagePicture> greyPicture = takeCutPicture(greyReceived);
    ASSERT_TRUE(greyPicture.has_value());
    EXPECT_EQ(greyPicture->format, PixelFormat::Grey8);
    EXPECT_EQ(greyPicture->pixels, grey.pixels);

    PagePicture banded;  // a grey band of 16 rows, then 3 rows with colour, then the table
    banded.width = 2;
    banded.height = 19;
    banded.format = PixelFormat::Banded;
    banded.pixels = std::string(2 * 16, '\x40') + std::string(2 * 3 * 4, '\x90') + std::string("\0\1", 2);
    Message bandedReceived = overTheWire(cutReply(banded));
    const std::optional<PagePicture> bandedPicture = takeCutPicture(bandedReceived);
    ASSERT_TRUE(bandedPicture.has_value());
    EXPECT_EQ(bandedPicture->format, PixelFormat::Banded);
    EXPECT_EQ(bandedPicture->pixels, banded.pixels);
    EXPECT_EQ(bandedPicture->bandTable()[1], 1);

    Message empty = overTheWire(cutReply(std::nullopt));
    EXPECT_FALSE(takeCutPicture(empty).has_value());
}

TEST(CutPayload, PixelsThatDoNotMakeThePictureAreRefused) {
    const auto damaged = [](Message reply) {
        EXPECT_THROW(takeCutPicture(reply), ProtocolError) << reply.encodeLine();
    };
    damaged(Message("ok")
                .set("width", 2)
                .set("height", 2)
                .set("format", "rgb32")
                .setPayload(std::string(15, 'x')));
    damaged(Message("ok")
                .set("width", 2)
                .set("height", 2)
                .set("format", "rgb24")
                .setPayload(std::string(16, 'x')));
    damaged(Message("ok")  // 32-bit pixels said to be grey
                .set("width", 2)
                .set("height", 2)
                .set("format", "grey8")
                .setPayload(std::string(16, 'x')));
    const auto banded = [](std::string pixels) {
        return Message("ok")
            .set("width", 2)
            .set("height", 19)
            .set("format", "banded")
            .setPayload(std::move(pixels));
    };
    const std::string greyBand(2 * 16, 'g');
    const std::string colourRows(2 * 3 * 4, 'c');
    damaged(banded(greyBand + colourRows + std::string("\0\2", 2)));            // a table entry of 2
    damaged(banded(greyBand + colourRows.substr(1) + std::string("\0\1", 2)));  // a byte short
    damaged(banded(greyBand + colourRows + std::string("\0\0", 2)));            // the table says grey
    damaged(banded(std::string("\0\0", 2)));                                    // a table alone
    damaged(Message("ok").set("width", 0).set("height", 2).set("format", "rgb32"));
    damaged(Message("ok").set("width", 1LL << 40).set("height", 1).set("format", "rgb32"));
    damaged(Message("ok").set("format", "rgb32"));
}
