// A picture made from bands is an ordinary 32-bit picture to everyone, and keeps its bands only as
// long as its pixels are the ones they were widened to.
#include <gtest/gtest.h>

#include <QImage>
#include <optional>

#include "platform/BandedImage.h"
#include "tests/support/BandedPicture.h"

namespace {

QImage greyPageWithHeading(int width, int height) {
    QImage page(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            page.setPixel(x, y, qRgb((x + y) % 256, (x + y) % 256, (x + y) % 256));
    }
    for (int x = 0; x < width; ++x) page.setPixel(x, 17, qRgb(20, 40, 200));
    return page;
}

TEST(BandedImage, HoldsThePixelsOfItsBandsUntilItsPixelsAreWrittenTo) {
    const QImage page = greyPageWithHeading(101, 37);
    const QImage banded = testsupport::bandedCopy(page);
    ASSERT_EQ(banded.format(), QImage::Format_RGB32);
    EXPECT_TRUE(banded == page);
    const std::optional<platform::BandsView> bands = platform::bandsOf(banded);
    ASSERT_TRUE(bands.has_value());
    ASSERT_EQ(bands->tableBytes, 3u);
    EXPECT_EQ(bands->table[0], 0);
    EXPECT_EQ(bands->table[1], 1);
    EXPECT_EQ(bands->table[2], 0);
    EXPECT_EQ(bands->bandBytes, std::size_t(101) * (16 + 16 * 4 + 5));

    const QImage shared = banded;  // a copy shares the pixels, and the bands with them
    EXPECT_TRUE(platform::bandsOf(shared).has_value());
    QImage written = banded;
    written.setPixel(0, 0, qRgb(1, 2, 3));  // the copy gets pixels of its own, without bands
    EXPECT_FALSE(platform::bandsOf(written).has_value());
    EXPECT_TRUE(platform::bandsOf(banded).has_value());
    EXPECT_TRUE(banded == page) << "the original keeps its pixels";
    EXPECT_FALSE(platform::bandsOf(page).has_value());
}

TEST(BandedImage, ThePictureOfBandsAlreadyHeldSharesItsPixels) {
    const QImage page = greyPageWithHeading(64, 40);
    std::optional<QImage> first = testsupport::bandedCopy(page);
    const QImage second = testsupport::bandedCopy(page);  // as a page picture read back from its file
    EXPECT_EQ(second.constBits(), first->constBits());
    QImage other = page;
    other.setPixel(3, 3, qRgb(0, 0, 0));
    EXPECT_NE(testsupport::bandedCopy(other).constBits(), second.constBits()) << "other bands, other pixels";
    first.reset();                   // the first picture gone, the second keeps the pixels and the bands
    platform::releaseSpareMemory();  // at the end of a run: only memory no picture holds goes
    EXPECT_TRUE(second == page);
    EXPECT_TRUE(platform::bandsOf(second).has_value());
}

TEST(BandedImage, BandsThatDoNotMakeThePictureGiveNoPicture) {
    std::string grey(std::size_t(4) * 20, '\x80');
    EXPECT_FALSE(platform::imageFromBands(grey + std::string("\0\0", 2), 80, 0, 4, 20).isNull());
    EXPECT_TRUE(platform::imageFromBands(grey + std::string("\0", 1), 80, 0, 4, 20).isNull())
        << "two bands, one table entry";
    EXPECT_TRUE(platform::imageFromBands(grey + std::string("\0\2", 2), 80, 0, 4, 20).isNull());
    EXPECT_TRUE(platform::imageFromBands(grey + std::string("\0\1", 2), 80, 0, 4, 20).isNull())
        << "a colour band needs four bytes a pixel";
    EXPECT_TRUE(platform::imageFromBands(std::string("\0\0", 2), 0, 2, 4, 20).isNull());
}

}  // namespace
