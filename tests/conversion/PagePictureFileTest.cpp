// The page picture file between the clipboard and Creator: what is written reads back as the same
// picture, 32-bit or grey, and a file that is no page picture is refused.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <initializer_list>

#include "conversion/PagePictureFile.h"
#include "platform/AppError.h"
#include "platform/BandedImage.h"
#include "tests/support/BandedPicture.h"
#include "tests/support/ScratchHome.h"

namespace {

QImage stripes(int width, int height, QImage::Format format) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb((x * 7 + y) % 256, x % 256, (y * 3) % 256));
    }
    return image.convertToFormat(format);
}

QString scratchFile(const char* name) {
    return testsupport::scratchFolder(QStringLiteral("page-picture")) + QLatin1Char('/') +
           QLatin1String(name);
}

TEST(PagePictureFile, ReadsBackThePictureInItsOwnFormat) {
    const QString file = scratchFile("page.bmp");
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_Grayscale8}) {
        for (const QSize size : {QSize(1275, 1650), QSize(1, 1), QSize(333, 7)}) {
            const QImage picture = stripes(size.width(), size.height(), format);
            Word1::savePagePicture(picture, file);
            const QImage loaded = Word1::loadPagePicture(file);
            ASSERT_EQ(loaded.format(), format);
            EXPECT_TRUE(loaded == picture) << size.width() << "x" << size.height();
        }
    }
    // Other layouts come back as 32-bit pictures of the same pixels.
    const QImage rgb888 = stripes(31, 5, QImage::Format_RGB888);
    Word1::savePagePicture(rgb888, file);
    EXPECT_TRUE(Word1::loadPagePicture(file) == rgb888.convertToFormat(QImage::Format_RGB32));
}

// A grey page with colour in a few rows: the bands without colour are held as grey bytes, and the
// picture reads back whole, 32-bit, its last short band and its colour where they were.
QImage greyPageWithColourAt(int width, int height, std::initializer_list<int> colourRows) {
    QImage picture = stripes(width, height, QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
    for (const int row : colourRows) picture.setPixel(width / 2, row, qRgb(30, 60, 200));
    return picture;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Against the 32-bit file: the picture behind its 32-byte header.
qint64 fileSize(const QString& path) { return QFileInfo(path).size(); }

TEST(PagePictureFile, APictureWithColourInSomeRowsReadsBackWholeFromFewerBytes) {
    const QString file = scratchFile("banded.bmp");
    const struct {
        QImage picture;
        bool smaller;
    } cases[] = {
        {greyPageWithColourAt(1275, 1650, {40, 41, 900}), true},
        {greyPageWithColourAt(333, 37, {15, 36}), true},  // a band's last row; the short last band
        {greyPageWithColourAt(333, 37, {16}), true},      // a band's first row
        {greyPageWithColourAt(7, 33, {0}), true},
        {greyPageWithColourAt(7, 5, {4}), false},  // one band, with colour: as a 32-bit file
        {greyPageWithColourAt(1, 1, {}), true},
    };
    for (const auto& [picture, smaller] : cases) {
        Word1::savePagePicture(picture, file);
        const QImage loaded = Word1::loadPagePicture(file);
        ASSERT_EQ(loaded.format(), QImage::Format_RGB32);
        EXPECT_TRUE(loaded == picture) << picture.width() << "x" << picture.height();
        EXPECT_EQ(fileSize(file) < 32 + picture.sizeInBytes(), smaller)
            << picture.width() << "x" << picture.height();

        // The engine's banded picture is written from its bands as they came: the same file, and
        // it reads back holding them.
        const QByteArray looked = fileBytes(file);
        Word1::savePagePicture(testsupport::bandedCopy(picture), file);
        if (smaller) {
            EXPECT_TRUE(fileBytes(file) == looked) << picture.width() << "x" << picture.height();
        }
        const QImage again = Word1::loadPagePicture(file);
        EXPECT_TRUE(again == picture);
        EXPECT_TRUE(platform::bandsOf(again).has_value());
    }
}

TEST(PagePictureFile, AFileThatIsNoPagePictureIsRefused) {
    const QString file = scratchFile("damaged.bmp");
    Word1::savePagePicture(stripes(40, 3, QImage::Format_Grayscale8), file);
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray grey = written.readAll();
    written.close();
    const auto refused = [&](const QByteArray& content) {
        QFile damaged(file);
        if (!damaged.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
        damaged.write(content);
        damaged.close();
        try {
            Word1::loadPagePicture(file);
        } catch (const platform::AppError&) {
            return true;
        }
        return false;
    };
    EXPECT_TRUE(refused(grey.left(grey.size() - 1)));  // a row cut short
    QByteArray claimsColour = grey;
    claimsColour[6] = '3';  // a grey file's rows are a quarter of what 32-bit rows need
    claimsColour[7] = '2';
    EXPECT_TRUE(refused(claimsColour));
    QByteArray otherMagic = grey;
    otherMagic[0] = 'X';
    EXPECT_TRUE(refused(otherMagic));
    EXPECT_FALSE(refused(grey));

    // A banded file (two bands: grey, then colour) whose table or bands do not make the file.
    Word1::savePagePicture(greyPageWithColourAt(40, 20, {18}), file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray banded = written.readAll();
    written.close();
    ASSERT_EQ(banded.size(), 32 + 2 + 40 * 16 + 40 * 4 * 4);
    EXPECT_TRUE(refused(banded.left(banded.size() - 1)));
    EXPECT_TRUE(refused(banded + 'x'));
    QByteArray badTable = banded;
    badTable[33] = '\x02';
    EXPECT_TRUE(refused(badTable));
    QByteArray allGrey = banded;
    allGrey[33] = '\0';  // claims fewer bytes than the file holds
    EXPECT_TRUE(refused(allGrey));
    EXPECT_FALSE(refused(banded));
}

}  // namespace
