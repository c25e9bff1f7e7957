// The fake Word's page pictures: a flat colour per page that survives JPEG and PCX round trips,
// the page number drawn for people, and the exact number in pixel (0,0) for lossless paths.
#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "tests/support/FakeWord.h"

namespace testsupport {

namespace {
constexpr int kWidth = 200;
constexpr int kHeight = 260;
constexpr int kMarkerBlue = 0xA5;
constexpr int kLevels[4] = {32, 96, 160, 224};
constexpr int kDistinctPages = 64;
constexpr int kTolerance = 28;  // per channel; the levels are 64 apart

// Mean colour of a patch of the band's top left quarter, clear of the drawn number and of pixel (0,0).
QColor bandColour(const QImage& image, int bandTop, int bandHeight) {
    const int x0 = image.width() * 8 / 100, x1 = std::max(x0 + 1, image.width() * 24 / 100);
    const int y0 = bandTop + bandHeight * 6 / 100, y1 = std::max(y0 + 1, bandTop + bandHeight * 18 / 100);
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = y0; y < y1 && y < image.height(); ++y) {
        for (int x = x0; x < x1; ++x) {
            const QRgb pixel = image.pixel(x, y);
            r += qRed(pixel);
            g += qGreen(pixel);
            b += qBlue(pixel);
            ++n;
        }
    }
    if (n == 0) return QColor();
    return QColor(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

// The page 1..64 whose colour this is, or 0.
int pageOfColour(const QColor& colour) {
    if (!colour.isValid()) return 0;
    for (int page = 1; page <= kDistinctPages; ++page) {
        const QColor candidate = FakeWord::pageColour(page);
        if (std::abs(candidate.red() - colour.red()) <= kTolerance &&
            std::abs(candidate.green() - colour.green()) <= kTolerance &&
            std::abs(candidate.blue() - colour.blue()) <= kTolerance) {
            return page;
        }
    }
    return 0;
}
}  // namespace

QColor FakeWord::pageColour(int page) {
    const int digits = ((page - 1) % kDistinctPages + kDistinctPages) % kDistinctPages;
    return QColor(kLevels[digits % 4], kLevels[(digits / 4) % 4], kLevels[digits / 16]);
}

QImage FakeWord::pagePicture(int page) {
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    const QColor colour = pageColour(page);
    picture.fill(colour);
    QPainter painter(&picture);
    QFont font = painter.font();
    font.setPixelSize(72);
    painter.setFont(font);
    painter.setPen(colour.lightness() < 128 ? Qt::white : Qt::black);
    painter.drawText(QRect(40, 80, 120, 100), Qt::AlignCenter, QString::number(page));
    painter.end();
    picture.setPixel(0, 0, qRgb(page & 0xFF, (page >> 8) & 0xFF, kMarkerBlue));
    return picture.convertToFormat(QImage::Format_RGB888);
}

std::vector<int> FakeWord::pagesOfPicture(const QImage& picture) {
    std::vector<int> pages;
    if (picture.isNull() || picture.width() < 8) return pages;
    const int bandHeight = std::max(1, picture.width() * kHeight / kWidth);
    const int bands = std::max(1, (picture.height() + bandHeight / 2) / bandHeight);
    for (int band = 0; band < bands; ++band) {
        pages.push_back(pageOfColour(bandColour(picture, band * bandHeight, bandHeight)));
    }
    return pages;
}

int FakeWord::pageOfPicture(const QImage& picture) {
    const std::vector<int> pages = pagesOfPicture(picture);
    if (pages.empty() || pages.front() == 0) return 0;
    // Past page 64 the colours repeat; a lossless picture still carries the exact number.
    const QRgb corner = picture.pixel(0, 0);
    const int exact = qRed(corner) | (qGreen(corner) << 8);
    if (qBlue(corner) == kMarkerBlue && exact > 0 && pageColour(exact) == pageColour(pages.front()))
        return exact;
    return pages.front();
}

}  // namespace testsupport
