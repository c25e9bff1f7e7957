#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace nconvert {

// The rows of a colour JPEG whose colour planes have half the resolution both ways (4:2:0), made
// from its planes as the decoder hands them over, one band of 16 rows at a time. The colour is
// brought to full resolution and to RGB exactly as libjpeg does it by default (its "fancy"
// triangle filter, then its fixed-point conversion), so the rows equal libjpeg's own. A row
// whose colour planes are neutral (128) all around it has red, green and blue all equal to its
// brightness: it is handed over as that one grey row, with no work at all. A page of black text
// on white is such rows only.
class HalfColourRows {
  public:
    static constexpr int kBandRows = 16;  // brightness rows of one band; colour rows are half as many

    // For a picture of width x height pixels (width at least 16) whose bands the decoder writes
    // `bandWidth` brightness samples wide (twice as many as each colour row).
    HalfColourRows(int width, int height, int bandWidth);

    // Where the decoder writes the next band: brightness, then the two colour planes.
    std::uint8_t** brightnessRows() { return slotRows(bandsRead_, 0); }
    std::uint8_t** blueRows() { return slotRows(bandsRead_, 1); }
    std::uint8_t** redRows() { return slotRows(bandsRead_, 2); }
    // The band just written is complete.
    void bandRead();

    int bandsRead() const { return bandsRead_; }
    int bandsInPicture() const { return (height_ + kBandRows - 1) / kBandRows; }
    // Whether the next band's rows can be made: its band and the one after it (whose first colour
    // row the filter reaches into) are read, or there is none after it.
    bool nextBandReady() const;

    // Makes the next band's rows; returns how many (0 after the last).
    int makeBand();
    bool grey(int index) const { return grey_[index]; }  // row(index) is width grey samples
    // else width red samples, then width green ones, then width blue ones
    const std::uint8_t* row(int index) const { return rows_[index]; }

  private:
    static constexpr int kSlots = 3;  // the band made, the one before (its last colour row) and after
    std::uint8_t** slotRows(int band, int plane);
    const std::uint8_t* colourRow(int plane, int row) const;
    bool neutral(int row) const;

    int width_;
    int height_;
    int bandWidth_;
    int colourWidth_;   // colour samples in a row: half the width, rounded up
    int colourHeight_;  // colour rows in the picture: half the height, rounded up
    int bandsRead_ = 0;
    int bandsMade_ = 0;
    std::vector<std::uint8_t> samples_;      // every slot's planes
    std::vector<std::uint8_t*> pointers_;    // their rows, as the decoder takes them
    std::vector<std::uint8_t> neutralRows_;  // per slot and colour row: both colours 128
    // A band's rows that have colour, as plane lines; left unset (each row is written before it is
    // read): a page of black text never touches it, and every 4 KB touched costs a page fault.
    std::unique_ptr<std::uint8_t[]> rgb_;
    std::vector<std::uint8_t> upsampled_;  // one row of each colour at full resolution
    const std::uint8_t* rows_[kBandRows] = {};
    bool grey_[kBandRows] = {};
};

}  // namespace nconvert
