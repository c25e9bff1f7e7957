#pragma once

#include <QImage>
#include <QString>

namespace Word1 {

// What the document conversion uses of the main window.
class ConversionWindow {
  public:
    virtual ~ConversionWindow() = default;
    virtual QString outputFolderText() const = 0;              // the text of Text1, read afresh each time
    virtual void setProgressText(const QString& text) = 0;     // the text drawn on ProgressBar1
    virtual void setMousePointer(int code) = 0;                // a platform::kPointer... code
    virtual void setRenderPicture(const QImage& picture) = 0;  // the picture of Creator
    virtual QImage renderImage() const = 0;                    // the image of Creator: the whole picture
};

}  // namespace Word1
