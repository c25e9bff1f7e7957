// The page picture file between the clipboard and Creator: what is written reads back as the same
// picture, 32-bit or grey, and a file that is no page picture is refused.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "conversion/PagePictureFile.h"
#include "platform/AppError.h"
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
}

}  // namespace
