#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <future>
#include <sstream>

#include "shared/BandedRows.h"
#include "tests/support/ScratchHome.h"
#include "tests/wordhost/TestPdf.h"
#include "wordhost/ColourPlaces.h"
#include "wordhost/EngineError.h"
#include "wordhost/MupdfLayout.h"
#include "wordhost/PageText.h"

using protocol::PagePicture;
using wordhost::MupdfLayout;
using namespace wordhosttest;

namespace {

std::uint32_t pixel(const PagePicture& picture, int x, int y) {
    std::uint32_t value;
    std::memcpy(&value, picture.pixels.data() + (std::size_t(y) * picture.width + x) * 4, 4);
    return value;
}

// The picture as 32-bit pixels, whichever way it travels.
PagePicture widened(const PagePicture& picture) {
    if (picture.format == protocol::PixelFormat::Rgb32) return picture;
    PagePicture wide;
    wide.format = protocol::PixelFormat::Rgb32;
    wide.width = picture.width;
    wide.height = picture.height;
    wide.pixels.resize(wide.bytesPerRow() * std::size_t(wide.height));
    const auto* from = reinterpret_cast<const unsigned char*>(picture.pixels.data());
    auto* to = reinterpret_cast<unsigned char*>(wide.pixels.data());
    if (picture.format == protocol::PixelFormat::Grey8) {
        shared::widenGreyPixels(from, std::size_t(picture.width) * std::size_t(picture.height), to);
    } else {
        shared::widenBands(picture.bandTable(), from, picture.width, picture.height, to, wide.bytesPerRow());
    }
    return wide;
}

}  // namespace

TEST(MupdfLayout, PagesKeepTheirBoxesTurnsAndLines) {
    TestPage letter;
    letter.content = text(72, 700, "First line") + text(72, 680, "Second line") + text(300, 680, "beside it");
    TestPage turned;
    turned.rotate = 90;
    turned.content = text(72, 700, "Landscape");
    TestPage a4;  // a size that is no whole number of pixels at 150 dpi
    a4.width = 595.28;
    a4.height = 841.89;
    TestPage blank;
    blank.content = text(72, 700, "   ");
    MupdfLayout layout(writeFile("pages.pdf", pdfFile({letter, turned, a4, blank})));

    ASSERT_EQ(layout.pageCount(), 4);
    EXPECT_EQ(layout.pictureSize(0), std::make_pair(1275, 1650));
    EXPECT_EQ(layout.pictureSize(1), std::make_pair(1650, 1275));
    EXPECT_EQ(layout.pictureSize(2), std::make_pair(1241, 1754));
    // Top to bottom; what stands side by side is one line, left to right.
    EXPECT_EQ(layout.lines(0), (std::vector<std::string>{"First line", "Second line beside it"}));
    EXPECT_EQ(layout.lines(1), (std::vector<std::string>{"Landscape"}));
    // A page without text still holds its paragraph mark.
    EXPECT_EQ(layout.lines(2), (std::vector<std::string>{""}));
    EXPECT_EQ(layout.lines(3), (std::vector<std::string>{""}));
}

TEST(MupdfLayout, PicturesAreDrawnOnWhiteInTheReplysPixelFormat) {
    TestPage page;
    page.content = "1 0 0 rg 0 692 100 100 re f 0 0 1 rg 512 0 100 100 re f 0 g\n" + text(200, 400, "Ink");
    const std::string path = writeFile("colours.pdf", pdfFile({page, page}));
    MupdfLayout layout(path);
    const PagePicture sent = layout.render(0);
    // Colour in the bands of the two squares only: those travel in 32 bits, the rest as grey.
    EXPECT_EQ(sent.format, protocol::PixelFormat::Banded);
    const PagePicture picture = widened(sent);
    ASSERT_EQ(picture.width, 1275);
    ASSERT_EQ(picture.height, 1650);
    ASSERT_EQ(picture.pixels.size(), std::size_t(1275) * 1650 * 4);
    EXPECT_EQ(pixel(picture, 600, 100), 0xffffffffu);    // paper
    EXPECT_EQ(pixel(picture, 50, 50), 0xffff0000u);      // red, top left
    EXPECT_EQ(pixel(picture, 1250, 1620), 0xff0000ffu);  // blue, bottom right
    int ink = 0;
    for (std::size_t i = 3; i < picture.pixels.size(); i += 4) {
        ASSERT_EQ(static_cast<unsigned char>(picture.pixels[i]), 0xff) << "no pixel is transparent";
    }
    for (int y = 800; y < 840; ++y) {
        for (int x = 400; x < 480; ++x) ink += (pixel(picture, x, y) & 0xff) < 100 ? 1 : 0;
    }
    EXPECT_GT(ink, 50) << "the word is drawn";

    // Another thread reads the same export with a reader of its own and draws the same page.
    std::unique_ptr<wordhost::PageLayout> again = layout.openAgain();
    const PagePicture drawnElsewhere = std::async(std::launch::async, [&] { return again->render(1); }).get();
    EXPECT_EQ(drawnElsewhere.pixels, sent.pixels);
}

TEST(MupdfLayout, AnUnreadableLayoutIsAnEngineError) {
    for (const std::string& contents : {std::string("not a PDF at all"), std::string()}) {
        try {
            MupdfLayout layout(writeFile("bad.pdf", contents));
            ADD_FAILURE() << "opened: " << contents;
        } catch (const wordhost::EngineError& error) {
            EXPECT_STREQ(error.what(), "The document engine produced no readable page layout.");
        }
    }
    EXPECT_THROW(MupdfLayout(testsupport::scratchHome().toStdString() + "/missing.pdf"),
                 wordhost::EngineError);
}

TEST(PageText, LinesStandTopToBottomAndPiecesOfOneLineLeftToRight) {
    using wordhost::TextPiece;
    auto piece = [](float baseline, float left, const char* words) {
        return TextPiece{baseline - 10, baseline + 2, baseline, left, words};
    };
    // Out of order, as a reader may find them: a table row of two cells, a line just below.
    EXPECT_EQ(wordhost::linesTopToBottom({piece(120, 10, "below  "), piece(100.5f, 300, "right cell"),
                                          piece(100, 10, "left cell"), piece(110, 10, " \t")}),
              (std::vector<std::string>{"left cell right cell", "below"}));
    EXPECT_EQ(wordhost::linesTopToBottom({}), (std::vector<std::string>{""}));
}

// A page without colour is drawn in grey, and its grey is what the 32-bit drawing of the same
// content has in each of red, green and blue: greys given as grey and as red, green and blue alike,
// text, and the edges between them.
TEST(MupdfLayout, AGreyPageIsDrawnInGreyAsThe32BitDrawingWouldHaveIt) {
    const std::string greys =
        "0.5 g 72 600 200 40 re f 0.3 0.3 0.3 rg 300 600 150 40 re f 0.7 0.7 0.7 RG 4 w "
        "72 500 m 500 520 l S 0 g\n" +
        text(100, 700, "Grey and black");
    TestPage grey;
    grey.content = greys;
    TestPage withColour;  // the same, and a red square at the bottom right
    withColour.content = greys + "1 0 0 rg 600 0 12 12 re f\n";
    MupdfLayout layout(writeFile("greys.pdf", pdfFile({grey, withColour})));
    const PagePicture greyPicture = layout.render(0);
    const PagePicture colourPicture = widened(layout.render(1));
    ASSERT_EQ(greyPicture.format, protocol::PixelFormat::Grey8);
    ASSERT_EQ(greyPicture.pixels.size(), std::size_t(1275) * 1650);
    int differing = 0;
    int inked = 0;
    for (int y = 0; y < 1600; ++y) {  // above the red square
        for (int x = 0; x < 1275; ++x) {
            const std::uint32_t value =
                static_cast<unsigned char>(greyPicture.pixels[std::size_t(y) * 1275 + x]);
            differing += pixel(colourPicture, x, y) != (0xff000000u | value * 0x010101u) ? 1 : 0;
            inked += value < 250 ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(inked, 20000) << "the greys and the text are drawn";
}

// A page with colour in a few places (a blue heading, a red line) is drawn in grey and only the
// bands of 16 rows those places touch in 32 bits: widened, it is what the 32-bit drawing of the
// whole page has, and a band travels in colour exactly where that drawing has colour.
TEST(MupdfLayout, APageWithColourInPlacesIsDrawnInBandsAsThe32BitDrawingWouldHaveIt) {
    const std::string content = "0.5 g 72 600 200 40 re f 0 g\n" + text(100, 700, "Grey text") +
                                "0 0 1 rg\n" + text(100, 740, "A blue heading") +
                                "1 0 0 RG 2 w 72 300 m 300 303 l S 0 g\n" + text(100, 100, "Black below");
    TestPage inPlaces;
    inPlaces.content = content;
    TestPage everywhere;  // the same, and a green stripe down the right edge: drawn whole in 32 bits
    everywhere.content = content + "0 1 0 rg 606 0 4 792 re f\n";
    MupdfLayout layout(writeFile("places.pdf", pdfFile({inPlaces, everywhere})));
    const PagePicture banded = layout.render(0);
    const PagePicture whole = layout.render(1);
    ASSERT_EQ(banded.format, protocol::PixelFormat::Banded);
    ASSERT_EQ(whole.format, protocol::PixelFormat::Rgb32);
    const PagePicture wide = widened(banded);
    constexpr int kLeftOfStripe = 1250;
    int differing = 0;
    int colourBands = 0;
    for (int band = 0; band * shared::kBandRows < whole.height; ++band) {
        bool colour = false;
        for (int y = band * shared::kBandRows; y < std::min(whole.height, (band + 1) * shared::kBandRows);
             ++y) {
            for (int x = 0; x < kLeftOfStripe; ++x) {
                const std::uint32_t value = pixel(whole, x, y);
                differing += pixel(wide, x, y) != value ? 1 : 0;
                colour = colour || (value & 0xff) != ((value >> 8) & 0xff) ||
                         (value & 0xff) != ((value >> 16) & 0xff);
            }
        }
        EXPECT_EQ(banded.bandTable()[band], colour ? 1 : 0) << "band " << band;
        colourBands += colour ? 1 : 0;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GE(colourBands, 3) << "the heading and the line have colour";
    EXPECT_LE(colourBands, 8);
}

// A place touches the bands its rows reach, with a margin for smoothing, and none outside the
// picture; a page whose colour was not followed is colour in every band.
TEST(ColourPlaces, APlaceTouchesTheBandsItsRowsReachWithAMargin) {
    const fz_irect box{0, 0, 100, 64};  // four bands of 16 rows
    wordhost::ColourPlaces found;
    found.places = {{10, 20, 30, 25},     // within band 1, clear of its edges
                    {10, 45, 30, 47},     // band 2, and band 3 by the margin below
                    {200, 0, 300, 64},    // right of the picture: none
                    {10, -40, 30, -20}};  // above it: none
    EXPECT_EQ(wordhost::bandsTouched(found, box, 16), (std::vector<bool>{false, true, true, true}));
    found.places = {{0, 62, 100, 70}};  // reaching below the last row: the last band only
    EXPECT_EQ(wordhost::bandsTouched(found, box, 16), (std::vector<bool>{false, false, false, true}));
    found.everywhere = true;
    EXPECT_EQ(wordhost::bandsTouched(found, box, 16), (std::vector<bool>{true, true, true, true}));
}
