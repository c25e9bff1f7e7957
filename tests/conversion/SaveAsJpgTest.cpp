#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <csignal>
#include <vector>

#include "conversion/SaveAsJPG.h"
#include "platform/AppError.h"
#include "tests/support/BandedPicture.h"
#include "tests/support/ScratchHome.h"

using SaveAsJPG::SaveBitmapAsJPG;

namespace {

// A page-like picture: white paper, coloured blocks and thin dark lines, so that both colour and
// sharp edges count in the comparison.
QImage pagePicture(int width, int height, QImage::Format format) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 3 + 1, height / 2 + 1, QColor(200, 30, 40));
    painter.fillRect(width / 3, height / 2, width / 3 + 1, height / 2 + 1, QColor(20, 160, 60));
    painter.fillRect(2 * width / 3, 0, width / 3 + 1, height / 3 + 1, QColor(30, 50, 210));
    painter.setPen(QColor(10, 10, 10));
    for (int y = 5; y < height; y += 17) painter.drawLine(0, y, width - 1, y);
    painter.end();
    return image.convertToFormat(format);
}

QImage decodeWithDjpeg(const QString& path) {
    QProcess djpeg;
    djpeg.start(QStringLiteral("djpeg"), {QStringLiteral("-pnm"), path});
    djpeg.waitForFinished(30000);
    return QImage::fromData(djpeg.readAllStandardOutput(), "PPM");
}

QString samplingFactor(const QString& path) {
    QProcess identify;
    identify.start(QStringLiteral("identify"),
                   {QStringLiteral("-format"), QStringLiteral("%[jpeg:sampling-factor]"), path});
    identify.waitForFinished(30000);
    return QString::fromLatin1(identify.readAllStandardOutput()).trimmed();
}

// Mean absolute difference per channel between two pictures of the same size.
double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB888), y = b.convertToFormat(QImage::Format_RGB888);
    double total = 0;
    for (int row = 0; row < x.height(); ++row) {
        const uchar* p = x.constScanLine(row);
        const uchar* q = y.constScanLine(row);
        for (int i = 0; i < x.width() * 3; ++i) total += std::abs(p[i] - q[i]);
    }
    return total / (x.width() * x.height() * 3.0);
}

class SaveAsJpgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = testsupport::scratchHome() + QStringLiteral("/jpg-") +
               QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        QDir().mkpath(dir_);
    }
    QString path(const QString& name) const { return dir_ + QLatin1Char('/') + name; }
    QStringList filesLeft() const {
        return QDir(dir_).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    // The description of the error SaveBitmapAsJPG throws, or "" when it succeeds.
    static QString failure(const QImage& picture, const QString& file, int quality = 100) {
        try {
            SaveBitmapAsJPG(picture, file, static_cast<std::uint8_t>(quality));
        } catch (const platform::AppError& error) {
            EXPECT_EQ(error.number(), 5);
            return error.description();
        }
        return QString();
    }

    QString dir_;
};

// Colour at half resolution (4:2:0) at every quality, the best one included, as the system's own
// encoder writes it.
TEST_F(SaveAsJpgTest, BestQualityKeepsThePixelsWithColourAtHalfResolution) {
    for (QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_ARGB32_Premultiplied,
          QImage::Format_RGBX8888, QImage::Format_Indexed8}) {
        const QImage picture = pagePicture(1275, 1650, format);
        const QString file = path(QStringLiteral("page_%1.jpg").arg(int(format)));
        SaveBitmapAsJPG(picture, file, 100);
        const QImage decoded = decodeWithDjpeg(file);
        ASSERT_EQ(decoded.size(), picture.size()) << format;
        // Colour edges soften with colour at half resolution; dark lines on white paper keep their pixels.
        EXPECT_LT(meanDifference(decoded, picture), 2.5) << format;
        EXPECT_LT(qRed(decoded.pixel(640, 22)), 25) << format;
        EXPECT_GT(qGray(decoded.pixel(640, 30)), 248) << format;
        // The red block stays red: catches swapped channel orders.
        const QRgb red = decoded.pixel(10, 10);
        EXPECT_NEAR(qRed(red), 200, 6);
        EXPECT_NEAR(qBlue(red), 40, 6);
        EXPECT_EQ(samplingFactor(file), QStringLiteral("2x2,1x1,1x1")) << format;
    }
}

TEST_F(SaveAsJpgTest, TransparentPixelsComeOutOnWhitePaper) {
    QImage picture(40, 40, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.fillRect(0, 0, 20, 40, QColor(200, 30, 40));
    painter.end();
    SaveBitmapAsJPG(picture, path(QStringLiteral("transparent.jpg")), 100);
    const QImage decoded = decodeWithDjpeg(path(QStringLiteral("transparent.jpg")));
    EXPECT_GT(qGray(decoded.pixel(35, 20)), 245);  // not black
    EXPECT_NEAR(qRed(decoded.pixel(5, 20)), 200, 6);
}

TEST_F(SaveAsJpgTest, LowerQualityGivesASmallerFile) {
    const QImage picture = pagePicture(640, 480, QImage::Format_RGB32);
    SaveBitmapAsJPG(picture, path(QStringLiteral("q100.jpg")), 100);
    SaveBitmapAsJPG(picture, path(QStringLiteral("q50.jpg")), 50);
    SaveBitmapAsJPG(picture, path(QStringLiteral("q0.jpg")), 0);
    const qint64 best = QFileInfo(path(QStringLiteral("q100.jpg"))).size();
    const qint64 half = QFileInfo(path(QStringLiteral("q50.jpg"))).size();
    EXPECT_LT(half, best / 2);
    EXPECT_LT(QFileInfo(path(QStringLiteral("q0.jpg"))).size(), half);
    EXPECT_EQ(decodeWithDjpeg(path(QStringLiteral("q50.jpg"))).size(), picture.size());
    EXPECT_EQ(samplingFactor(path(QStringLiteral("q50.jpg"))), QStringLiteral("2x2,1x1,1x1"));
}

TEST_F(SaveAsJpgTest, OddSizesKeepTheirSize) {
    for (const QSize size : {QSize(1, 1), QSize(7, 3), QSize(333, 217), QSize(1, 999)}) {
        const QString file = path(QStringLiteral("odd.jpg"));
        SaveBitmapAsJPG(pagePicture(size.width(), size.height(), QImage::Format_RGB888), file, 100);
        EXPECT_EQ(decodeWithDjpeg(file).size(), size);
    }
    // A picture seen through a window of a larger one: its lines are further apart than its width.
    const QImage large = pagePicture(300, 200, QImage::Format_RGB888);
    const QImage window(large.constScanLine(10) + 3 * 20, 101, 50, large.bytesPerLine(),
                        QImage::Format_RGB888);
    SaveBitmapAsJPG(window, path(QStringLiteral("window.jpg")), 100);
    // Read with the wrong row length the picture would come out as stripes, tens of levels off.
    EXPECT_LT(meanDifference(decodeWithDjpeg(path(QStringLiteral("window.jpg"))), window), 6.0);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Grey pictures, and 32-bit ones band by band, are written from the JPEG's own planes; the file
// must be the very one the whole-picture encoder gives for their 24-bit copy, padding of odd sizes
// included, also for a window into a larger picture.
void expectTheFileOfTheWholePictureEncoder(const QImage& picture, const QString& path24,
                                           const QString& pathPlanes) {
    for (int quality : {100, 75}) {
        SaveBitmapAsJPG(picture, pathPlanes, static_cast<std::uint8_t>(quality));
        SaveBitmapAsJPG(picture.convertToFormat(QImage::Format_RGB888), path24,
                        static_cast<std::uint8_t>(quality));
        const QByteArray fromPlanes = fileBytes(pathPlanes);
        ASSERT_GT(fromPlanes.size(), 100);
        EXPECT_TRUE(fromPlanes == fileBytes(path24))
            << picture.width() << "x" << picture.height() << " format " << picture.format() << " at quality "
            << quality;
    }
}

TEST_F(SaveAsJpgTest, AGreyPictureGivesTheFileOfTheWholePictureEncoder) {
    const QImage large = pagePicture(400, 300, QImage::Format_Grayscale8);
    const QImage window(large.constScanLine(7) + 5, 333, 217, large.bytesPerLine(),
                        QImage::Format_Grayscale8);
    std::vector<QImage> pictures = {window};
    for (const QSize size : {QSize(1, 1), QSize(7, 3), QSize(1275, 1650), QSize(16, 16), QSize(2, 999)})
        pictures.push_back(pagePicture(size.width(), size.height(), QImage::Format_Grayscale8));
    for (const QImage& grey : pictures) {
        expectTheFileOfTheWholePictureEncoder(grey, path(QStringLiteral("whole.jpg")),
                                              path(QStringLiteral("grey.jpg")));
        expectTheFileOfTheWholePictureEncoder(grey.convertToFormat(QImage::Format_RGB32),
                                              path(QStringLiteral("whole.jpg")),
                                              path(QStringLiteral("rgb.jpg")));
    }
}

// Colour in some 16-row bands and not in others: a single pixel on either side of a band's edge,
// bands of colour next to each other, colour in the last, short band of an odd height, and colour
// in the picture's last columns and rows, where the planes would be padded otherwise.
TEST_F(SaveAsJpgTest, APictureWithColourInSomeBandsGivesTheFileOfTheWholePictureEncoder) {
    const QImage grey =
        pagePicture(333, 101, QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
    const std::vector<std::vector<QPoint>> colourAt = {{QPoint(0, 15)},
                                                       {QPoint(330, 16)},
                                                       {QPoint(5, 31), QPoint(6, 32), QPoint(7, 48)},
                                                       {QPoint(50, 98)},
                                                       {QPoint(332, 16)},
                                                       {QPoint(100, 100)},
                                                       {QPoint(0, 0), QPoint(200, 99)}};
    for (const std::vector<QPoint>& points : colourAt) {
        QImage picture = grey.copy();
        for (const QPoint point : points) picture.setPixel(point, qRgb(40, 90, 200));
        expectTheFileOfTheWholePictureEncoder(picture, path(QStringLiteral("whole.jpg")),
                                              path(QStringLiteral("rgb.jpg")));
        // The engine's banded picture, whose grey bands are taken as they came.
        expectTheFileOfTheWholePictureEncoder(testsupport::bandedCopy(picture),
                                              path(QStringLiteral("whole.jpg")),
                                              path(QStringLiteral("banded.jpg")));
    }
    QImage heading = grey.copy();
    QPainter(&heading).fillRect(10, 20, 300, 30, QColor(30, 60, 160));  // a coloured heading over three bands
    expectTheFileOfTheWholePictureEncoder(heading, path(QStringLiteral("whole.jpg")),
                                          path(QStringLiteral("rgb.jpg")));
    expectTheFileOfTheWholePictureEncoder(testsupport::bandedCopy(heading), path(QStringLiteral("whole.jpg")),
                                          path(QStringLiteral("banded.jpg")));
    for (const QSize size : {QSize(1, 1), QSize(7, 3), QSize(1275, 1650), QSize(2, 999)}) {
        expectTheFileOfTheWholePictureEncoder(pagePicture(size.width(), size.height(), QImage::Format_RGB32),
                                              path(QStringLiteral("whole.jpg")),
                                              path(QStringLiteral("rgb.jpg")));
    }
}

TEST_F(SaveAsJpgTest, BadArgumentsFailWithStatusTwo) {
    const QString file = path(QStringLiteral("bad.jpg"));
    EXPECT_EQ(failure(QImage(), file), QStringLiteral("Cannot save the image. GDI+ Error:2"));
    EXPECT_EQ(failure(QImage(0, 10, QImage::Format_RGB32), file),
              QStringLiteral("Cannot save the image. GDI+ Error:2"));
    EXPECT_EQ(failure(pagePicture(8, 8, QImage::Format_RGB32), file, 101),
              QStringLiteral("Cannot save the image. GDI+ Error:2"));
    EXPECT_TRUE(filesLeft().isEmpty());
}

TEST_F(SaveAsJpgTest, AFileThatCannotBeWrittenFailsWithStatusSevenAndLeavesNothing) {
    const QImage picture = pagePicture(64, 64, QImage::Format_RGB32);
    EXPECT_EQ(failure(picture, path(QStringLiteral("missing/page_1.jpg"))),
              QStringLiteral("Cannot save the image. GDI+ Error:7"));
    QDir().mkpath(path(QStringLiteral("taken.jpg")));
    EXPECT_EQ(failure(picture, path(QStringLiteral("taken.jpg"))),
              QStringLiteral("Cannot save the image. GDI+ Error:7"));
    EXPECT_EQ(QDir(dir_).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("taken.jpg")});

    if (::geteuid() != 0) {  // root writes anywhere
        QDir().mkpath(path(QStringLiteral("locked")));
        QFile::setPermissions(path(QStringLiteral("locked")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        EXPECT_EQ(failure(picture, path(QStringLiteral("locked/page_1.jpg"))),
                  QStringLiteral("Cannot save the image. GDI+ Error:7"));
        QFile::setPermissions(path(QStringLiteral("locked")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

TEST_F(SaveAsJpgTest, AFullDiskLeavesNoPartialFile) {
    // A file size limit makes the write fail part way, as a full disk does.
    const QString file = path(QStringLiteral("page_1.jpg"));
    SaveBitmapAsJPG(pagePicture(8, 8, QImage::Format_RGB32), file, 100);
    const QByteArray before = [&] {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString description = failure(pagePicture(1275, 1650, QImage::Format_RGB32), file);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(description, QStringLiteral("Cannot save the image. GDI+ Error:7"));
    EXPECT_EQ(filesLeft(), QStringList{QStringLiteral("page_1.jpg")});
    QFile after(file);
    after.open(QIODevice::ReadOnly);
    EXPECT_EQ(after.readAll(), before);  // the earlier file is untouched
}

}  // namespace
