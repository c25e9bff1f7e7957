// The page picture file between the clipboard and Creator, as read back from whatever the file
// holds: a picture read is whole, every row of it readable.
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
        if (picture.isNull() || picture.format() != QImage::Format_RGB32) std::abort();
        unsigned sum = 0;
        for (int y = 0; y < picture.height(); ++y) {
            const uchar* row = picture.constScanLine(y);
            for (qsizetype x = 0; x < qsizetype(picture.width()) * 4; ++x) sum += row[x];
        }
        fuzz::bytesRead = sum;
    } catch (const platform::AppError&) {
    }
    return 0;
}
