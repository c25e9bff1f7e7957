#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace nconverttest {

// A netpbm picture as RGB triplets (grey is widened), for comparing decoders' results.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// Reads binary PPM (P6) or PGM (P5) with maxval 255; an empty picture when it cannot.
RgbPicture parsePnm(const QByteArray& data);

// The largest difference of one channel between two pictures of the same size, or -1 when the
// sizes differ.
int largestDifference(const RgbPicture& a, const RgbPicture& b);

// A test pattern with flat areas (long runs, light values that need a run byte), gradients and
// noise, written as a PPM file.
void writePatternPpm(const QString& path, int width, int height);

// The 16-bit little-endian word of a file at `offset`.
int wordAt(const QByteArray& file, int offset);

QByteArray readFile(const QString& path);

}  // namespace nconverttest
