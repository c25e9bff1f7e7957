#pragma once

#include <QProgressBar>

namespace mainwindow {

// The progress bar ("ProgressBar1"): the text set with setFormat() is drawn as it is. Qt would
// read "%p", "%v" and "%m" in it as numbers, and a document may well be named "50%plan.docx".
class ProgressBar : public QProgressBar {
  public:
    using QProgressBar::QProgressBar;
    QString text() const override { return format(); }
};

}  // namespace mainwindow
