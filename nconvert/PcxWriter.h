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
    // One row of width grey bytes, each standing for a pixel's red, green and blue alike.
    void writeGreyRow(const std::uint8_t* grey);
    // One row of a colour picture as its plane lines: width red bytes, then green, then blue.
    void writePlanarRow(const std::uint8_t* planes);

    // Writes what follows the last row. Throws ConvertError if rows are missing.
    void finish();

  private:
    enum class RowKind { Interleaved, Grey, Planar };

    // Writes a row of `bytes` bytes: encoded afresh by `encode` unless it equals the row before.
    template <typename Encode>
    void writeRowOnce(const std::uint8_t* row, std::size_t bytes, RowKind kind, Encode encode);
    // Encodes planes_ into encoded_; returns the length.
    std::size_t encodePlanes();
    // Encodes the first plane line as every plane's line (a row without colour).
    std::size_t encodeFirstLineForAll();

    OutputFile& out_;
    ImageInfo info_;
    int bytesPerLine_;
    std::vector<std::uint8_t> planes_;             // one row as plane lines, each with its padding byte
    std::vector<std::uint8_t> encoded_;            // the last row encoded, at worst twice its size
    std::vector<std::uint8_t> previousRow_;        // the last row as it came
    std::size_t encodedSize_ = 0;                  // 0 until the first row
    RowKind previousKind_ = RowKind::Interleaved;  // how previousRow_ holds the row
    int rowsWritten_ = 0;
};

}  // namespace nconvert
