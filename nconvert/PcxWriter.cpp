#include "PcxWriter.h"

#include <algorithm>
#include <cstring>

#include "ConvertError.h"
#include "OutputFile.h"

namespace nconvert {

namespace {

constexpr std::uint8_t kManufacturer = 0x0A;
constexpr std::uint8_t kVersion5 = 5;
constexpr std::uint8_t kRunLengthEncoding = 1;
constexpr std::uint8_t kPaletteMarker = 0x0C;
constexpr int kHeaderSize = 128;
constexpr int kMaxRun = 63;
constexpr std::uint8_t kRunFlag = 0xC0;
// Each byte's lowest and highest bit, eight bytes at a time.
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

void putWord(std::uint8_t* out, int offset, int value) {
    out[offset] = static_cast<std::uint8_t>(value & 0xFF);
    out[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

std::uint64_t load64(const std::uint8_t* p) {
    std::uint64_t bytes;
    std::memcpy(&bytes, p, sizeof bytes);
    return bytes;
}

// Whether the eight RGB pixels from p on are all alike: every byte equals the one a pixel later.
bool eightAlike(const std::uint8_t* p) {
    return load64(p) == load64(p + 3) && load64(p + 8) == load64(p + 11) && load64(p + 13) == load64(p + 16);
}

// Splits a row of RGB pixels into its three plane lines. Most of a page is paper, so eight
// pixels alike are stored as three words instead of 24 bytes.
void splitPlanes(const std::uint8_t* rgb, int width, std::uint8_t* red, std::uint8_t* green,
                 std::uint8_t* blue) {
    int x = 0;
    for (; x + 8 <= width; x += 8, rgb += 24) {
        if (eightAlike(rgb)) {
            std::memset(red + x, rgb[0], 8);
            std::memset(green + x, rgb[1], 8);
            std::memset(blue + x, rgb[2], 8);
            continue;
        }
        for (int i = 0; i < 8; ++i) {
            red[x + i] = rgb[3 * i];
            green[x + i] = rgb[3 * i + 1];
            blue[x + i] = rgb[3 * i + 2];
        }
    }
    for (; x < width; ++x, rgb += 3) {
        red[x] = rgb[0];
        green[x] = rgb[1];
        blue[x] = rgb[2];
    }
}

// How many bytes from p[0] on equal p[0], at most `limit`. Compares eight bytes at a time, as a
// page is mostly long runs of paper.
int runLength(const std::uint8_t* p, int limit) {
    const std::uint64_t pattern = p[0] * kOnes;
    int run = 1;
    if (limit < 9) {
        while (run < limit && p[run] == p[0]) ++run;
        return run;
    }
    // The last word may overlap the one before: the bytes they share are known alike.
    for (;; run += 8) {
        const int at = std::min(run, limit - 8);
        const std::uint64_t differ = load64(p + at) ^ pattern;
        if (differ != 0) return at + __builtin_ctzll(differ) / 8;  // the first differing byte (little endian)
        if (at == limit - 8) return limit;
    }
}

// Where the next run of two or more begins at or after `from`: the first byte equal to the one
// after it, or `length` when there is none. Eight neighbours are compared at a time, as the
// stretches between runs (the edges of letters) are where a page's time goes.
int nextRun(const std::uint8_t* line, int from, int length) {
    int at = from;
    for (; at + 8 < length; at += 8) {
        const std::uint64_t differ = load64(line + at) ^ load64(line + at + 1);
        // The lowest marked byte is the first zero byte of `differ`: the first equal neighbours.
        const std::uint64_t zero = (differ - kOnes) & ~differ & kHighs;
        if (zero != 0) return at + __builtin_ctzll(zero) / 8;
    }
    for (; at + 1 < length; ++at) {
        if (line[at] == line[at + 1]) return at;
    }
    return length;
}

// A byte standing alone; a light one (both flag bits set) needs a run of one before it. Without a
// branch: on the edges of letters light and dark bytes alternate past any prediction.
std::uint8_t* putAlone(std::uint8_t value, std::uint8_t* out) {
    const int light = (value & kRunFlag) == kRunFlag;
    out[0] = static_cast<std::uint8_t>(kRunFlag | 1);
    out[light] = value;
    return out + 1 + light;
}

// `count` bytes standing alone; eight without a light one among them are copied as they are.
std::uint8_t* putAlone(const std::uint8_t* bytes, int count, std::uint8_t* out) {
    int k = 0;
    for (; k + 8 <= count; k += 8) {
        const std::uint64_t eight = load64(bytes + k);
        if ((eight & (eight << 1) & kHighs) == 0) {  // no byte with both of its top bits set
            std::memcpy(out, &eight, sizeof eight);
            out += 8;
            continue;
        }
        for (int j = 0; j < 8; ++j) out = putAlone(bytes[k + j], out);
    }
    for (; k < count; ++k) out = putAlone(bytes[k], out);
    return out;
}

// Runs never cross the end of a plane's line, so every decoder reads the lines alike. At worst
// every byte takes two (a light value alone). Returns the end of what was written.
std::uint8_t* encodeLine(const std::uint8_t* line, int length, std::uint8_t* out) {
    int i = 0;
    while (i < length) {
        // Bytes unlike their neighbour stand alone.
        const int alone = nextRun(line, i, length);
        out = putAlone(line + i, alone - i, out);
        i = alone;
        if (i == length) break;
        const int run = runLength(line + i, std::min(length - i, kMaxRun));
        *out++ = static_cast<std::uint8_t>(kRunFlag | run);
        *out++ = line[i];
        i += run;
    }
    return out;
}

}  // namespace

PcxWriter::PcxWriter(OutputFile& out, const ImageInfo& info)
    : out_(out),
      info_(info),
      bytesPerLine_(info.width + (info.width & 1)),
      planes_(static_cast<std::size_t>(bytesPerLine_) * info.channels, 0),
      encoded_(2 * planes_.size()),
      previousRow_(static_cast<std::size_t>(info.width) * info.channels) {
    std::uint8_t header[kHeaderSize] = {};
    header[0] = kManufacturer;
    header[1] = kVersion5;
    header[2] = kRunLengthEncoding;
    header[3] = 8;  // bits per pixel in each plane
    putWord(header, 8, info.width - 1);
    putWord(header, 10, info.height - 1);
    putWord(header, 12, info.dpiX);
    putWord(header, 14, info.dpiY);
    header[65] = static_cast<std::uint8_t>(info.channels);
    putWord(header, 66, bytesPerLine_);               // even, as the format asks
    putWord(header, 68, info.channels == 1 ? 2 : 1);  // palette info: 2 grey, 1 colour
    out_.write(header, sizeof header);
}

template <typename Encode>
void PcxWriter::writeRowOnce(const std::uint8_t* row, std::size_t bytes, RowKind kind, Encode encode) {
    // Most rows of a page are blank paper like the row before: the same row encodes the same.
    if (encodedSize_ == 0 || previousKind_ != kind || std::memcmp(row, previousRow_.data(), bytes) != 0) {
        std::memcpy(previousRow_.data(), row, bytes);
        previousKind_ = kind;
        encodedSize_ = encode();
    }
    out_.write(encoded_.data(), encodedSize_);
    ++rowsWritten_;
}

void PcxWriter::writeRow(const std::uint8_t* pixels) {
    writeRowOnce(pixels, previousRow_.size(), RowKind::Interleaved, [&] {
        std::uint8_t* const plane = planes_.data();  // the padding byte of each plane's line stays 0
        if (info_.channels == 1) {
            std::memcpy(plane, pixels, static_cast<std::size_t>(info_.width));
        } else {
            splitPlanes(pixels, info_.width, plane, plane + bytesPerLine_, plane + 2 * bytesPerLine_);
        }
        return encodePlanes();
    });
}

void PcxWriter::writeGreyRow(const std::uint8_t* grey) {
    const auto width = static_cast<std::size_t>(info_.width);
    writeRowOnce(grey, width, RowKind::Grey, [&] {
        std::memcpy(planes_.data(), grey, width);
        return encodeFirstLineForAll();
    });
}

void PcxWriter::writePlanarRow(const std::uint8_t* planes) {
    const auto width = static_cast<std::size_t>(info_.width);
    writeRowOnce(planes, width * static_cast<std::size_t>(info_.channels), RowKind::Planar, [&] {
        for (int c = 0; c < info_.channels; ++c)
            std::memcpy(planes_.data() + c * bytesPerLine_, planes + c * width, width);
        return encodePlanes();
    });
}

std::size_t PcxWriter::encodePlanes() {
    std::uint8_t* const plane = planes_.data();
    std::uint8_t* const start = encoded_.data();
    const auto line = static_cast<std::size_t>(bytesPerLine_);
    // A row without colour (black text on white) has three equal plane lines: the line encoded
    // once stands for all three, as equal lines encode alike.
    if (info_.channels == 3 && std::memcmp(plane, plane + line, line) == 0 &&
        std::memcmp(plane, plane + 2 * line, line) == 0) {
        return encodeFirstLineForAll();
    }
    std::uint8_t* end = start;
    for (int c = 0; c < info_.channels; ++c) end = encodeLine(plane + c * line, bytesPerLine_, end);
    return static_cast<std::size_t>(end - start);
}

std::size_t PcxWriter::encodeFirstLineForAll() {
    std::uint8_t* const start = encoded_.data();
    const auto size = static_cast<std::size_t>(encodeLine(planes_.data(), bytesPerLine_, start) - start);
    for (int c = 1; c < info_.channels; ++c) std::memcpy(start + c * size, start, size);
    return size * static_cast<std::size_t>(info_.channels);
}

void PcxWriter::finish() {
    if (rowsWritten_ != info_.height) throw ConvertError("the picture ended before its last row");
    if (info_.channels != 1) return;
    std::uint8_t palette[1 + 256 * 3];
    palette[0] = kPaletteMarker;
    for (int i = 0; i < 256; ++i) std::memset(palette + 1 + 3 * i, i, 3);
    out_.write(palette, sizeof palette);
}

}  // namespace nconvert
