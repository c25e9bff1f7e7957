#pragma once

#include <QImage>
#include <string>

#include "platform/BandedImage.h"
#include "shared/BandedRows.h"

namespace testsupport {

// The picture as the engine's banded cut makes it: the same pixels, held beside their bands.
inline QImage bandedCopy(const QImage& picture) {
    const QImage rgb32 = picture.convertToFormat(QImage::Format_RGB32);
    std::string storage;
    for (int y = 0; y < rgb32.height(); ++y)
        storage.append(reinterpret_cast<const char*>(rgb32.constScanLine(y)), std::size_t(rgb32.width()) * 4);
    std::string table;
    const std::size_t bands = shared::packBandsInPlace(reinterpret_cast<unsigned char*>(storage.data()),
                                                       rgb32.width(), rgb32.height(), table);
    storage.resize(bands);
    storage += table;
    return platform::imageFromBands(std::move(storage), bands, 0, rgb32.width(), rgb32.height());
}

}  // namespace testsupport
