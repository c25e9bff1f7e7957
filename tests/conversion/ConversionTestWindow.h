#pragma once

#include <QStringList>
#include <vector>

#include "conversion/ConversionWindow.h"

namespace testsupport {

// The parts of the main window the conversion uses, recorded.
class ConversionTestWindow : public Word1::ConversionWindow {
  public:
    QString outputFolder;
    QStringList progressTexts;
    std::vector<int> pointers;
    QImage picture;

    QString outputFolderText() const override { return outputFolder; }
    void setProgressText(const QString& text) override { progressTexts << text; }
    void setMousePointer(int code) override { pointers.push_back(code); }
    void setRenderPicture(const QImage& newPicture) override { picture = newPicture; }
    QImage renderImage() const override { return picture; }
};

}  // namespace testsupport
