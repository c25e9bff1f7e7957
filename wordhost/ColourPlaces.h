#pragma once

#include <mupdf/fitz.h>

#include <vector>

namespace wordhost {

// Where a recorded page may have colour, in pixels of the drawing. Anything drawn in a colour
// that is not a grey, any picture or shading in a colour space, is a place; a group, mask or tile
// (whose effect on what lies beneath is not followed here) makes the whole page one.
struct ColourPlaces {
    std::vector<fz_irect> places;
    bool everywhere = false;
};

// Goes over the page's record as drawn by `ctm`.
ColourPlaces findColourPlaces(fz_context* context, fz_display_list* list, fz_matrix ctm);

// Which bands of `bandRows` rows of a picture of `box` a place touches, smoothing included.
std::vector<bool> bandsTouched(const ColourPlaces& found, fz_irect box, int bandRows);

}  // namespace wordhost
