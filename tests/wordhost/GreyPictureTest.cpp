// Page pictures without colour travel as grey: the same pixels in a quarter of the bytes; with
// colour in some bands of 16 rows, only those bands travel as 32 bits; pages cut together keep
// every page's pixels whatever their formats.
#include <gtest/gtest.h>

#include <cstring>

#include "shared/BandedRows.h"
#include "wordhost/GreyPicture.h"
#include "wordhost/StackPages.h"

using protocol::PagePicture;
using protocol::PixelFormat;

namespace {

// Pixels in 0xffRRGGBB words, one per value, in a picture `width` wide.
PagePicture rgb32(int width, const std::vector<std::uint32_t>& words) {
    PagePicture picture;
    picture.width = width;
    picture.height = static_cast<int>(words.size()) / width;
    picture.pixels.resize(words.size() * 4);
    std::memcpy(picture.pixels.data(), words.data(), picture.pixels.size());
    return picture;
}

std::uint32_t wordAt(const PagePicture& picture, std::size_t index) {
    std::uint32_t word;
    std::memcpy(&word, picture.pixels.data() + 4 * index, sizeof word);
    return word;
}

TEST(GreyPicture, APictureWithoutColourBecomesItsGreyBytes) {
    std::vector<std::uint32_t> words(1275 * 1650, 0xffffffffu);
    words[17] = 0xff000000u;
    words.back() = 0xff7f7f7fu;
    PagePicture picture = rgb32(1275, words);
    wordhost::packGreyBands(picture);
    ASSERT_EQ(picture.format, PixelFormat::Grey8);
    ASSERT_EQ(picture.pixels.size(), words.size());
    EXPECT_EQ(picture.pixels[0], '\xff');
    EXPECT_EQ(picture.pixels[17], '\0');
    EXPECT_EQ(picture.pixels.back(), '\x7f');
}

TEST(GreyPicture, OnePixelWithColourAnywhereKeepsThe32BitPicture) {
    // Each channel differing alone, at the start, in the middle and as the very last pixel.
    for (const std::uint32_t colour : {0xff7f7f80u, 0xff7f807fu, 0xff807f7fu}) {
        for (const std::size_t at : {std::size_t(0), std::size_t(2000), std::size_t(1275 * 3 - 1)}) {
            std::vector<std::uint32_t> words(1275 * 3, 0xffffffffu);
            words[at] = colour;
            PagePicture picture = rgb32(1275, words);
            const std::string before = picture.pixels;
            wordhost::packGreyBands(picture);
            EXPECT_EQ(picture.format, PixelFormat::Rgb32) << std::hex << colour << " at " << std::dec << at;
            EXPECT_TRUE(picture.pixels == before);
        }
    }
}

std::string widened(const PagePicture& banded) {
    std::string rows(std::size_t(banded.width) * std::size_t(banded.height) * 4, '\0');
    shared::widenBands(banded.bandTable(), reinterpret_cast<const unsigned char*>(banded.pixels.data()),
                       banded.width, banded.height, reinterpret_cast<unsigned char*>(rows.data()),
                       std::size_t(banded.width) * 4);
    return rows;
}

TEST(GreyPicture, ColourInSomeBandsLeavesOnlyThoseBandsAt32Bits) {
    // 37 rows: bands of 16, 16 and 5. Colour on the last row of the first band, and in the short
    // last band; the band between them is grey.
    const int width = 7;
    for (const int colourRow : {15, 36}) {
        std::vector<std::uint32_t> words(std::size_t(width) * 37, 0xffffffffu);
        for (std::size_t i = 0; i < words.size(); ++i)
            words[i] = 0xff000000u | 0x010101u * std::uint32_t(i % 200);
        words[std::size_t(colourRow) * width + 3] = 0xff0000ffu;
        PagePicture picture = rgb32(width, words);
        const std::string original = picture.pixels;
        wordhost::packGreyBands(picture);
        ASSERT_EQ(picture.format, PixelFormat::Banded) << colourRow;
        const std::string table(reinterpret_cast<const char*>(picture.bandTable()), 3);
        EXPECT_EQ(table, colourRow == 15 ? std::string("\1\0\0", 3) : std::string("\0\0\1", 3));
        const std::size_t colourRows = colourRow == 15 ? 16 : 5;
        EXPECT_EQ(picture.pixels.size(), 3 + (37 - colourRows) * width + colourRows * width * 4);
        EXPECT_TRUE(widened(picture) == original) << colourRow;
    }
}

TEST(GreyPicture, PagesCutTogetherAreGreyOnlyWhenEveryPageIs) {
    PagePicture greyPage = rgb32(2, {0xff101010u, 0xff202020u, 0xff303030u, 0xff404040u});
    wordhost::packGreyBands(greyPage);
    ASSERT_EQ(greyPage.format, PixelFormat::Grey8);
    const PagePicture colourPage = rgb32(3, {0xffff0000u, 0xff00ff00u, 0xff0000ffu});

    const PagePicture bothGrey = wordhost::stackPages({greyPage, greyPage});
    EXPECT_EQ(bothGrey.format, PixelFormat::Grey8);
    EXPECT_EQ(bothGrey.height, 4);
    EXPECT_TRUE(bothGrey.pixels == greyPage.pixels + greyPage.pixels);

    // The sheet is as wide as its widest page; a narrower page's row ends in white paper.
    const PagePicture mixed = wordhost::stackPages({greyPage, colourPage});
    ASSERT_EQ(mixed.format, PixelFormat::Rgb32);
    ASSERT_EQ(mixed.width, 3);
    ASSERT_EQ(mixed.height, 3);
    const std::vector<std::uint32_t> expected = {0xff101010u, 0xff202020u, 0xffffffffu,
                                                 0xff303030u, 0xff404040u, 0xffffffffu,
                                                 0xffff0000u, 0xff00ff00u, 0xff0000ffu};
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(wordAt(mixed, i), expected[i]) << i;

    // A banded page is widened into the sheet.
    std::vector<std::uint32_t> words(2 * 17, 0xff808080u);
    words.back() = 0xff123456u;
    PagePicture banded = rgb32(2, words);
    wordhost::packGreyBands(banded);
    ASSERT_EQ(banded.format, PixelFormat::Banded);
    const PagePicture withBanded = wordhost::stackPages({colourPage, banded});
    ASSERT_EQ(withBanded.format, PixelFormat::Rgb32);
    ASSERT_EQ(withBanded.height, 18);
    EXPECT_EQ(wordAt(withBanded, 3), 0xff808080u);
    EXPECT_EQ(wordAt(withBanded, 5), 0xffffffffu) << "the narrower page's row ends in paper";
    EXPECT_EQ(wordAt(withBanded, 3 * 17 + 1), 0xff123456u);
}

}  // namespace
