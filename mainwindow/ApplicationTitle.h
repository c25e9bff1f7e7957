#pragma once

#include <QString>

namespace mainwindow {

// The short title of the boxes: the product name cut before its last blank, and cut again while
// it is longer than 40 characters. A name without a blank is its own title.
QString ApplicationTitleOf(const QString& productName);

}  // namespace mainwindow
