#include "mainwindow/RenderSurface.h"

#include <QPainter>

namespace mainwindow {

RenderSurface::RenderSurface(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Creator"));
    setFocusPolicy(Qt::NoFocus);
}

void RenderSurface::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

QImage RenderSurface::image() const {
    if (!picture_.isNull()) return picture_;
    QImage blank(size(), QImage::Format_RGB32);
    blank.fill(Qt::white);
    return blank;
}

void RenderSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!picture_.isNull()) painter.drawImage(QPoint(0, 0), picture_);
}

}  // namespace mainwindow
