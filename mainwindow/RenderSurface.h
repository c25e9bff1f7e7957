#pragma once

#include <QImage>
#include <QWidget>

namespace mainwindow {

// The conversion's render surface ("Creator"): holds one page picture. It lies below the client
// area, so the user never sees it; its image is the whole picture, whatever the box's size.
class RenderSurface : public QWidget {
  public:
    explicit RenderSurface(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    // The picture at its own size; the blank surface at the box's size while it has none.
    QImage image() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
};

}  // namespace mainwindow
