// The page picture file between the clipboard and Creator, as read back from whatever the file
// holds: a picture read is whole, 32-bit or grey (a banded file widened), every row of it readable.
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "conversion/PagePictureFile.h"
#include "fuzz/FuzzInput.h"
#include "platform/AppError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const QImage picture = Word1::loadPagePicture(QString::fromStdString(fuzz::inputFile(data, size)));
        const bool grey = picture.format() == QImage::Format_Grayscale8;
        if (picture.isNull() || !(grey || picture.format() == QImage::Format_RGB32)) std::abort();
        const qsizetype rowBytes = qsizetype(picture.width()) * (grey ? 1 : 4);
        unsigned sum = 0;
        for (int y = 0; y < picture.height(); ++y) {
            const uchar* row = picture.constScanLine(y);
            for (qsizetype x = 0; x < rowBytes; ++x) sum += row[x];
        }
        fuzz::bytesRead = sum;
    } catch (const platform::AppError&) {
    }
    return 0;
}
