// Page pictures without colour travel as grey: the same pixels in a quarter of the bytes, and
// pages cut together keep every page's pixels whatever their formats.
#include <gtest/gtest.h>

#include <cstring>

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
    wordhost::makeGreyIfColourless(picture);
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
            wordhost::makeGreyIfColourless(picture);
            EXPECT_EQ(picture.format, PixelFormat::Rgb32) << std::hex << colour << " at " << std::dec << at;
            EXPECT_TRUE(picture.pixels == before);
        }
    }
}

TEST(GreyPicture, PagesCutTogetherAreGreyOnlyWhenEveryPageIs) {
    PagePicture greyPage = rgb32(2, {0xff101010u, 0xff202020u, 0xff303030u, 0xff404040u});
    wordhost::makeGreyIfColourless(greyPage);
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
}

}  // namespace
