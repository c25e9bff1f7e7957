#pragma once

#include <cstdint>
#include <vector>

#include "ImageInfo.h"

namespace nconvert {

class OutputFile;

// Writes a PCX file (ZSoft version 5, run-length encoded) one row at a time: 24-bit colour as
// three 8-bit planes per line, grey as one 8-bit plane with a grey 256-entry palette at the end.
class PcxWriter {
  public:
    // Writes the header.
    PcxWriter(OutputFile& out, const ImageInfo& info);

    // One row of width x channels bytes, RGB interleaved.
    void writeRow(const std::uint8_t* pixels);

    // Writes what follows the last row. Throws ConvertError if rows are missing.
    void finish();

  private:
    // Encodes one row's plane lines into encoded_; returns their length.
    std::size_t encodeRow(const std::uint8_t* pixels);

    OutputFile& out_;
    ImageInfo info_;
    int bytesPerLine_;
    std::vector<std::uint8_t> planes_;       // one row as plane lines, each with its padding byte
    std::vector<std::uint8_t> encoded_;      // the last row encoded, at worst twice its size
    std::vector<std::uint8_t> previousRow_;  // the last row as it came
    std::size_t encodedSize_ = 0;            // 0 until the first row
    int rowsWritten_ = 0;
};

}  // namespace nconvert
