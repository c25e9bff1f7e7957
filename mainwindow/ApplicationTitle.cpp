#include "mainwindow/ApplicationTitle.h"

namespace mainwindow {

QString ApplicationTitleOf(const QString& productName) {
    constexpr qsizetype kLongest = 40;
    QString title = productName;
    qsizetype blank = title.lastIndexOf(QLatin1Char(' '));
    if (blank < 0) return title;
    do {
        title.truncate(blank);
        blank = title.lastIndexOf(QLatin1Char(' '));
    } while (title.size() > kLongest && blank >= 0);
    return title;
}

}  // namespace mainwindow
