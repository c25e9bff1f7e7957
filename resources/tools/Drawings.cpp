#include "Drawings.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

namespace icontool {

namespace {
const QColor kInk(0x1d, 0x26, 0x30);
const QColor kSheetEdge(0x3b, 0x4a, 0x5a);
const QColor kTextLine(0x8a, 0x9a, 0xac);

// A canvas drawn on a design grid of `grid` units, scaled to `size` pixels.
struct Canvas {
    QImage image;
    QPainter painter;
    Canvas(int size, qreal grid) : image(size, size, QImage::Format_ARGB32_Premultiplied) {
        image.fill(Qt::transparent);
        painter.begin(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / grid, size / grid);
    }
    QImage finish() {
        painter.end();
        return image.convertToFormat(QImage::Format_ARGB32);
    }
};

// A sheet of paper whose top right corner is folded down.
QPainterPath foldedSheet(const QRectF& sheet, qreal fold) {
    QPainterPath path;
    path.moveTo(sheet.topLeft());
    path.lineTo(sheet.right() - fold, sheet.top());
    path.lineTo(sheet.right(), sheet.top() + fold);
    path.lineTo(sheet.bottomRight());
    path.lineTo(sheet.bottomLeft());
    path.closeSubpath();
    return path;
}

void drawFold(QPainter& painter, const QRectF& sheet, qreal fold, const QColor& fill) {
    QPainterPath corner;
    corner.moveTo(sheet.right() - fold, sheet.top());
    corner.lineTo(sheet.right() - fold, sheet.top() + fold);
    corner.lineTo(sheet.right(), sheet.top() + fold);
    corner.closeSubpath();
    painter.setBrush(fill);
    painter.drawPath(corner);
}

QPainterPath roundedBox(const QRectF& box, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(box, radius, radius);
    return path;
}
}  // namespace

QImage drawPointingHand(int size) {
    Canvas canvas(size, 32);
    QPainter& p = canvas.painter;

    QPainterPath hand = roundedBox(QRectF(9.5, 1.5, 5, 18), 2.5);       // index finger
    hand = hand.united(roundedBox(QRectF(14.2, 10.5, 4.4, 9.5), 2.2));  // middle finger, folded
    hand = hand.united(roundedBox(QRectF(18.4, 11.5, 4.4, 9), 2.2));    // ring finger
    hand = hand.united(roundedBox(QRectF(22.6, 13, 4.2, 8), 2.1));      // little finger
    hand = hand.united(roundedBox(QRectF(9.5, 15, 17.3, 12), 4));       // palm
    QTransform thumbPlace;
    thumbPlace.translate(11.5, 21.5);
    thumbPlace.rotate(40);
    hand = hand.united(thumbPlace.map(roundedBox(QRectF(-8.5, -2.4, 10, 4.8), 2.4)));  // thumb
    hand = hand.united(roundedBox(QRectF(12, 25, 13, 6), 1));                          // cuff

    p.setPen(QPen(kInk, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(hand.simplified());
    // The creases between the folded fingers and the cuff's seam.
    p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14.3, 13.5), QPointF(14.3, 18.5));
    p.drawLine(QPointF(18.5, 14), QPointF(18.5, 19));
    p.drawLine(QPointF(22.7, 15.5), QPointF(22.7, 19.5));
    p.drawLine(QPointF(12.5, 26.5), QPointF(24.5, 26.5));
    return canvas.finish();
}

QPoint pointingHandHotSpot() { return {12, 1}; }

QImage drawPageStack(int size) {
    Canvas canvas(size, 32);
    QPainter& p = canvas.painter;
    const QRectF sheets[] = {QRectF(13, 2, 15, 19), QRectF(8.5, 6, 15, 19), QRectF(4, 10, 15, 20)};
    const QColor fills[] = {QColor(0xdc, 0xe6, 0xf0), QColor(0xee, 0xf3, 0xf8), Qt::white};
    p.setPen(QPen(kSheetEdge, 1.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    for (int i = 0; i < 3; ++i) {
        p.setBrush(fills[i]);
        p.drawPath(foldedSheet(sheets[i], 4));
        drawFold(p, sheets[i], 4, fills[i].darker(110));
    }
    p.setPen(QPen(kTextLine, 1.4, Qt::SolidLine, Qt::FlatCap));
    for (const qreal y : {16.0, 19.5, 23.0, 26.5}) p.drawLine(QPointF(7, y), QPointF(y < 26 ? 16 : 12.5, y));
    return canvas.finish();
}

QImage drawApplicationIcon(int size) {
    Canvas canvas(size, 64);
    QPainter& p = canvas.painter;

    const QRectF page(7, 3, 37, 48);
    p.setPen(QPen(kSheetEdge, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawPath(foldedSheet(page, 10));
    drawFold(p, page, 10, QColor(0xe3, 0xe9, 0xef));
    p.setPen(QPen(kTextLine, 3, Qt::SolidLine, Qt::RoundCap));
    for (const qreal y : {17.0, 24.0, 31.0, 38.0}) p.drawLine(QPointF(14, y), QPointF(y < 30 ? 36 : 21, y));

    // The picture card: sky, hills and a sun, standing for the page image that comes out.
    const QRectF card(23, 26, 36, 32);
    const QPainterPath cardShape = roundedBox(card, 4);
    QLinearGradient sky(card.topLeft(), card.bottomLeft());
    sky.setColorAt(0, QColor(0x6f, 0xb9, 0xdc));
    sky.setColorAt(1, QColor(0xd6, 0xee, 0xf8));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawPath(cardShape);
    p.save();
    p.setClipPath(cardShape);
    p.setBrush(QColor(0xf2, 0xa5, 0x41));
    p.drawEllipse(QPointF(49, 35), 4, 4);
    QPainterPath hills;
    hills.moveTo(22, 59);
    hills.lineTo(33, 41);
    hills.lineTo(40, 50);
    hills.lineTo(47, 40);
    hills.lineTo(60, 59);
    hills.closeSubpath();
    p.setBrush(QColor(0x2a, 0x7f, 0x62));
    p.drawPath(hills);
    p.restore();
    p.setPen(QPen(QColor(0x1f, 0x4e, 0x6b), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cardShape);
    return canvas.finish();
}

}  // namespace icontool
