#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ImageInfo.h"

namespace nconvert {

struct JpegDecoder;  // libjpeg's state, kept out of this header

// Decodes a JPEG file (baseline or progressive; colour or greyscale) a few rows at a time into RGB
// or grey rows, so no whole picture is held (but for a progressive file's coefficients, which
// libjpeg keeps until the last scan). The resolution is the JFIF header's, else 150 dpi.
// A damaged file is an error, found at the latest by finish(). Every failure throws ConvertError.
class JpegReader {
  public:
    // Opens the file and reads the header.
    explicit JpegReader(const std::string& path);
    ~JpegReader();
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    const ImageInfo& info() const { return info_; }

    // Decodes the next rows; returns how many (0 after the last), each readable through row().
    int readRows();
    const std::uint8_t* row(int index) const;
    // How row() holds that row: width x channels bytes, RGB interleaved; or, for a row of a
    // colour picture without colour, width grey bytes standing for red, green and blue alike; or
    // its plane lines, width red bytes, then green, then blue.
    enum class Layout { Interleaved, Grey, Planar };
    Layout layout(int index) const;

    // Reads on to the end of the image after the last row.
    void finish();

  private:
    [[noreturn]] void fail(const char* what) const;

    std::string path_;
    std::unique_ptr<JpegDecoder> decoder_;
    ImageInfo info_;
};

}  // namespace nconvert
