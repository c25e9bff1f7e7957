// The converter's JPEG reader, on any file: every row it hands out is read whole (as its layout
// says), and a damaged file ends in a ConvertError.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/FuzzInput.h"
#include "nconvert/ConvertError.h"
#include "nconvert/JpegReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        nconvert::JpegReader reader(fuzz::inputFile(data, size));
        const nconvert::ImageInfo& info = reader.info();
        if (info.width <= 0 || info.height <= 0 || (info.channels != 1 && info.channels != 3)) std::abort();
        const std::size_t rowBytes = std::size_t(info.width) * std::size_t(info.channels);
        long long rowsRead = 0;
        unsigned sum = 0;
        while (const int rows = reader.readRows()) {
            for (int i = 0; i < rows; ++i) {
                const std::uint8_t* row = reader.row(i);
                const bool grey = reader.layout(i) == nconvert::JpegReader::Layout::Grey;
                if (grey && info.channels != 3) std::abort();
                const std::size_t bytes = grey ? std::size_t(info.width) : rowBytes;
                for (std::size_t x = 0; x < bytes; ++x) sum += row[x];
            }
            rowsRead += rows;
        }
        reader.finish();
        if (rowsRead != info.height) std::abort();
        fuzz::bytesRead = sum;
    } catch (const nconvert::ConvertError&) {
    }
    return 0;
}
