#include "HalfColourRows.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace nconvert {

namespace {

constexpr int kNeutral = 128;
constexpr int kScaleBits = 16;
constexpr int kHalf = 1 << (kScaleBits - 1);
constexpr int fixed(double value) { return static_cast<int>(value * (1 << kScaleBits) + 0.5); }

std::uint8_t clamped(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// One full-resolution row of a colour plane from its nearest half-resolution row and the next
// nearest (above for an even row, below for an odd one): 3/4 of the nearer and 1/4 of the
// farther both ways, with libjpeg's alternating rounding. `columns` is at least 2. Written
// column by column without carried sums, so the compiler can do many columns at once.
void upsampleRow(const std::uint8_t* nearer, const std::uint8_t* farther, int columns, std::uint8_t* out) {
    const auto vertical = [&](int column) { return nearer[column] * 3 + farther[column]; };
    out[0] = static_cast<std::uint8_t>((vertical(0) * 4 + 8) >> 4);
    out[1] = static_cast<std::uint8_t>((vertical(0) * 3 + vertical(1) + 7) >> 4);
    for (int column = 1; column < columns - 1; ++column) {
        const int current = vertical(column);
        out[2 * column] = static_cast<std::uint8_t>((current * 3 + vertical(column - 1) + 8) >> 4);
        out[2 * column + 1] = static_cast<std::uint8_t>((current * 3 + vertical(column + 1) + 7) >> 4);
    }
    const int last = columns - 1;
    out[2 * last] = static_cast<std::uint8_t>((vertical(last) * 3 + vertical(last - 1) + 8) >> 4);
    out[2 * last + 1] = static_cast<std::uint8_t>((vertical(last) * 4 + 7) >> 4);
}

// libjpeg's YCbCr to RGB conversion, in the arithmetic its tables hold, into plane lines:
// R = Y + (91881 Cr + 2^15 >> 16), G = Y + (-22554 Cb - 46802 Cr + 2^15 >> 16),
// B = Y + (116130 Cb + 2^15 >> 16), with Cb and Cr less 128, each clamped to 0..255.
void toRgbPlanesFrom(int first, const std::uint8_t* brightness, const std::uint8_t* blue,
                     const std::uint8_t* red, int width, std::uint8_t* reds, std::uint8_t* greens,
                     std::uint8_t* blues) {
    for (int x = first; x < width; ++x) {
        const int y = brightness[x];
        const int cb = blue[x] - kNeutral;
        const int cr = red[x] - kNeutral;
        reds[x] = clamped(y + ((fixed(1.40200) * cr + kHalf) >> kScaleBits));
        greens[x] = clamped(y + ((-fixed(0.34414) * cb + kHalf - fixed(0.71414) * cr) >> kScaleBits));
        blues[x] = clamped(y + ((fixed(1.77200) * cb + kHalf) >> kScaleBits));
    }
}

#ifdef __SSE2__
// (value * factor + 2^15) >> 16 for 16-bit values: the high half of the product, plus one
// where the low half reaches 2^15.
__m128i scaledProduct(__m128i value, std::int16_t factor) {
    const __m128i multiplier = _mm_set1_epi16(factor);
    return _mm_add_epi16(_mm_mulhi_epi16(value, multiplier),
                         _mm_srli_epi16(_mm_mullo_epi16(value, multiplier), 15));
}
#endif

void toRgbPlanes(const std::uint8_t* brightness, const std::uint8_t* blue, const std::uint8_t* red, int width,
                 std::uint8_t* reds, std::uint8_t* greens, std::uint8_t* blues) {
    int x = 0;
#ifdef __SSE2__
    // Eight pixels at a time, in the same arithmetic split into 16-bit factors:
    // 91881 = 65536 + 26345, 116130 = 2 * 65536 - 14942, -46802 = -65536 + 18734.
    const __m128i zero = _mm_setzero_si128();
    const __m128i neutral = _mm_set1_epi16(kNeutral);
    const __m128i greenFactors = _mm_set_epi16(18734, -22554, 18734, -22554, 18734, -22554, 18734, -22554);
    const __m128i half = _mm_set1_epi32(kHalf);
    for (; x + 8 <= width; x += 8) {
        const auto load = [&](const std::uint8_t* from) {
            return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(from + x)), zero);
        };
        const __m128i y = load(brightness);
        const __m128i cb = _mm_sub_epi16(load(blue), neutral);
        const __m128i cr = _mm_sub_epi16(load(red), neutral);
        const __m128i r = _mm_add_epi16(_mm_add_epi16(y, cr), scaledProduct(cr, 26345));
        const __m128i b = _mm_add_epi16(_mm_add_epi16(y, _mm_add_epi16(cb, cb)), scaledProduct(cb, -14942));
        const __m128i low = _mm_srai_epi32(
            _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(cb, cr), greenFactors), half), kScaleBits);
        const __m128i high = _mm_srai_epi32(
            _mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(cb, cr), greenFactors), half), kScaleBits);
        const __m128i g = _mm_sub_epi16(_mm_add_epi16(y, _mm_packs_epi32(low, high)), cr);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(reds + x), _mm_packus_epi16(r, r));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(greens + x), _mm_packus_epi16(g, g));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(blues + x), _mm_packus_epi16(b, b));
    }
#endif
    toRgbPlanesFrom(x, brightness, blue, red, width, reds, greens, blues);
}

// Eight samples a step: every colour row of a page is looked at, and nearly all are neutral.
bool allNeutral(const std::uint8_t* row, int count) {
    constexpr std::uint64_t kNeutralWord = 0x0101010101010101ULL * kNeutral;
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, row + i, sizeof eight);
        if (eight != kNeutralWord) return false;
    }
    for (; i < count; ++i) {
        if (row[i] != kNeutral) return false;
    }
    return true;
}

}  // namespace

HalfColourRows::HalfColourRows(int width, int height, int bandWidth)
    : width_(width),
      height_(height),
      bandWidth_(bandWidth),
      colourWidth_((width + 1) / 2),
      colourHeight_((height + 1) / 2),
      rgb_(new std::uint8_t[std::size_t(kBandRows) * std::size_t(width) * 3]),
      upsampled_(2 * std::size_t(bandWidth)) {
    const std::size_t slotSamples =
        std::size_t(kBandRows) * bandWidth + std::size_t(kBandRows) * (bandWidth / 2);
    samples_.resize(kSlots * slotSamples);
    neutralRows_.resize(std::size_t(kSlots) * (kBandRows / 2));
    // Per slot: 16 brightness rows, then 8 rows of each colour.
    for (int slot = 0; slot < kSlots; ++slot) {
        std::uint8_t* at = samples_.data() + slot * slotSamples;
        for (int row = 0; row < kBandRows; ++row, at += bandWidth) pointers_.push_back(at);
        for (int row = 0; row < kBandRows; ++row, at += bandWidth / 2) pointers_.push_back(at);
    }
}

std::uint8_t** HalfColourRows::slotRows(int band, int plane) {
    std::uint8_t** slot = pointers_.data() + std::size_t(band % kSlots) * (2 * kBandRows);
    return plane == 0 ? slot : slot + kBandRows + (plane - 1) * (kBandRows / 2);
}

const std::uint8_t* HalfColourRows::colourRow(int plane, int row) const {
    // Above the picture the first row stands, below it the last (as libjpeg fills its context).
    row = std::clamp(row, 0, colourHeight_ - 1);
    const int band = row / (kBandRows / 2);
    return pointers_[std::size_t(band % kSlots) * (2 * kBandRows) + kBandRows +
                     (plane - 1) * (kBandRows / 2) + row % (kBandRows / 2)];
}

bool HalfColourRows::neutral(int row) const {
    row = std::clamp(row, 0, colourHeight_ - 1);
    const int band = row / (kBandRows / 2);
    return neutralRows_[std::size_t(band % kSlots) * (kBandRows / 2) + row % (kBandRows / 2)] != 0;
}

void HalfColourRows::bandRead() {
    for (int row = 0; row < kBandRows / 2; ++row) {
        const int colour = bandsRead_ * (kBandRows / 2) + row;
        const bool both = colour < colourHeight_ && allNeutral(blueRows()[row], colourWidth_) &&
                          allNeutral(redRows()[row], colourWidth_);
        neutralRows_[std::size_t(bandsRead_ % kSlots) * (kBandRows / 2) + row] = both ? 1 : 0;
    }
    ++bandsRead_;
}

bool HalfColourRows::nextBandReady() const {
    return bandsMade_ < bandsRead_ && (bandsMade_ + 1 >= bandsInPicture() || bandsMade_ + 1 < bandsRead_);
}

int HalfColourRows::makeBand() {
    if (bandsMade_ >= bandsInPicture()) return 0;
    const int first = bandsMade_ * kBandRows;
    const int count = std::min(kBandRows, height_ - first);
    const std::uint8_t* const* brightness =
        pointers_.data() + std::size_t(bandsMade_ % kSlots) * (2 * kBandRows);
    std::uint8_t* blue = upsampled_.data();
    std::uint8_t* red = upsampled_.data() + bandWidth_;
    for (int i = 0; i < count; ++i) {
        const int y = first + i;
        const int nearer = y / 2;
        const int farther = y % 2 == 0 ? nearer - 1 : nearer + 1;
        grey_[i] = neutral(nearer) && neutral(farther);
        if (grey_[i]) {
            rows_[i] = brightness[i];
            continue;
        }
        upsampleRow(colourRow(1, nearer), colourRow(1, farther), colourWidth_, blue);
        upsampleRow(colourRow(2, nearer), colourRow(2, farther), colourWidth_, red);
        std::uint8_t* planes = rgb_.get() + std::size_t(i) * width_ * 3;
        toRgbPlanes(brightness[i], blue, red, width_, planes, planes + width_, planes + 2 * width_);
        rows_[i] = planes;
    }
    ++bandsMade_;
    return count;
}

}  // namespace nconvert
