#include "JpegReader.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

namespace nconvert {

namespace {

constexpr int kDefaultDpi = 150;
constexpr int kMaxDpi = 65535;  // what the PCX header can hold

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Decompressor = std::unique_ptr<void, HandleCloser>;

std::string lastError(tjhandle handle) { return tjGetErrorStr2(handle); }

int dpiOr150(int dpi) { return dpi > 0 ? std::min(dpi, kMaxDpi) : kDefaultDpi; }

}  // namespace

Image readJpeg(const std::vector<std::uint8_t>& file) {
    if (file.size() < 3 || file[0] != 0xFF || file[1] != 0xD8 || file[2] != 0xFF) {
        throw ConvertError("not a JPEG file");
    }
    Decompressor decompressor(tjInitDecompress());
    if (!decompressor) throw ConvertError("cannot start the JPEG decoder");
    tjhandle handle = decompressor.get();

    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(handle, file.data(), file.size(), &width, &height, &subsampling, &colorspace) != 0) {
        throw ConvertError("not a readable JPEG file: " + lastError(handle));
    }
    if (colorspace == TJCS_CMYK || colorspace == TJCS_YCCK) {
        throw ConvertError("CMYK JPEG files are not supported");
    }

    const std::uint64_t byteCount = std::uint64_t(width) * std::uint64_t(height) * (colorspace == TJCS_GRAY ? 1 : 3);
    if (byteCount > SIZE_MAX / 2) throw ConvertError("the JPEG image is too large");

    Image image;
    image.width = width;
    image.height = height;
    image.channels = colorspace == TJCS_GRAY ? 1 : 3;
    image.pixels.resize(static_cast<std::size_t>(width) * height * image.channels);
    const int pixelFormat = image.channels == 1 ? TJPF_GRAY : TJPF_RGB;
    // A damaged file is an error rather than a picture with a grey remainder.
    if (tjDecompress2(handle, file.data(), file.size(), image.pixels.data(), width, 0, height, pixelFormat,
                      TJFLAG_STOPONWARNING) != 0) {
        throw ConvertError("cannot decode the JPEG file: " + lastError(handle));
    }

    const Density density = readJfifDensity(file);
    image.dpiX = dpiOr150(density.dpiX);
    image.dpiY = dpiOr150(density.dpiY);
    return image;
}

}  // namespace nconvert
