// Time of one page image write at the conversion's page size (150 dpi Letter), per input format.
// 32-bit and grey pictures go in as planes, 24-bit ones whole: RGB32 against RGB888 is the banded
// encode against the whole-picture one. Usage: bench_save_as_jpg [PAGE.png] (a page as drawn, e.g.
// by marrowdale-wordhost --render; without it, a made-up page with a coloured block)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>

#include "conversion/SaveAsJPG.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QImage page(1275, 1650, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.setPen(Qt::black);
    for (int y = 150; y < 1500; y += 24) painter.drawLine(150, y, 1125 - (y % 300), y);
    painter.fillRect(200, 300, 400, 300, QColor(40, 90, 200));
    painter.end();
    if (argc > 1 && !page.load(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    page = page.convertToFormat(QImage::Format_RGB32);

    constexpr int kRuns = 20;
    for (const auto& [name, format] :
         {std::pair{"RGB32", QImage::Format_RGB32}, std::pair{"RGB888", QImage::Format_RGB888},
          std::pair{"ARGB32", QImage::Format_ARGB32}, std::pair{"Indexed8", QImage::Format_Indexed8},
          std::pair{"Grey8", QImage::Format_Grayscale8}}) {
        const QImage picture = page.convertToFormat(format);
        const QString file = dir.filePath(QStringLiteral("page.jpg"));
        SaveAsJPG::SaveBitmapAsJPG(picture, file, 100);  // the thread's buffers are made once
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < kRuns; ++i) SaveAsJPG::SaveBitmapAsJPG(picture, file, 100);
        std::printf("%-9s quality 100: %6.1f ms per page, %lld bytes\n", name,
                    double(timer.elapsed()) / kRuns, static_cast<long long>(QFileInfo(file).size()));
    }
    return 0;
}
