#include "wordhost/ColourPlaces.h"

#include <algorithm>
#include <cmath>

namespace wordhost {

namespace {

// The smoothing of an edge reaches into the pixel beside it; two more are room for rounding.
constexpr int kMarginPixels = 3;
// A page of more places than this counts as colour everywhere: nothing is allocated while MuPDF
// calls in (its C frames would not pass an exception on).
constexpr std::size_t kMostPlaces = 512;

struct PlacesDevice {
    fz_device super;  // first: MuPDF hands the device back as this
    ColourPlaces* found;
};

ColourPlaces& foundBy(fz_device* device) { return *reinterpret_cast<PlacesDevice*>(device)->found; }

// A grey is one component, or red, green and blue alike; anything else may be colour.
bool colourful(fz_context* context, fz_colorspace* space, const float* colour) {
    if (space == nullptr || fz_colorspace_is_gray(context, space)) return false;
    if (fz_colorspace_is_rgb(context, space)) return !(colour[0] == colour[1] && colour[1] == colour[2]);
    return true;
}

void addPlace(fz_device* device, fz_rect place) {
    if (fz_is_empty_rect(place)) return;
    if (fz_is_infinite_rect(place)) {
        foundBy(device).everywhere = true;
        return;
    }
    ColourPlaces& found = foundBy(device);
    if (found.places.size() == kMostPlaces) {
        found.everywhere = true;
        return;
    }
    found.places.push_back(fz_round_rect(place));
}

void fillPath(fz_context* context, fz_device* device, const fz_path* path, int, fz_matrix ctm,
              fz_colorspace* space, const float* colour, float, fz_color_params) {
    if (colourful(context, space, colour)) addPlace(device, fz_bound_path(context, path, nullptr, ctm));
}

void strokePath(fz_context* context, fz_device* device, const fz_path* path, const fz_stroke_state* stroke,
                fz_matrix ctm, fz_colorspace* space, const float* colour, float, fz_color_params) {
    if (colourful(context, space, colour)) addPlace(device, fz_bound_path(context, path, stroke, ctm));
}

void fillText(fz_context* context, fz_device* device, const fz_text* text, fz_matrix ctm,
              fz_colorspace* space, const float* colour, float, fz_color_params) {
    if (colourful(context, space, colour)) addPlace(device, fz_bound_text(context, text, nullptr, ctm));
}

void strokeText(fz_context* context, fz_device* device, const fz_text* text, const fz_stroke_state* stroke,
                fz_matrix ctm, fz_colorspace* space, const float* colour, float, fz_color_params) {
    if (colourful(context, space, colour)) addPlace(device, fz_bound_text(context, text, stroke, ctm));
}

void fillShade(fz_context* context, fz_device* device, fz_shade* shade, fz_matrix ctm, float,
               fz_color_params) {
    addPlace(device, fz_bound_shade(context, shade, ctm));
}

void fillImage(fz_context* context, fz_device* device, fz_image* image, fz_matrix ctm, float,
               fz_color_params) {
    if (image->colorspace == nullptr || !fz_colorspace_is_gray(context, image->colorspace))
        addPlace(device, fz_transform_rect(fz_unit_rect, ctm));
}

void fillImageMask(fz_context* context, fz_device* device, fz_image*, fz_matrix ctm, fz_colorspace* space,
                   const float* colour, float, fz_color_params) {
    if (colourful(context, space, colour)) addPlace(device, fz_transform_rect(fz_unit_rect, ctm));
}

void everywhere(fz_device* device) { foundBy(device).everywhere = true; }

void beginMask(fz_context*, fz_device* device, fz_rect, int, fz_colorspace*, const float*, fz_color_params) {
    everywhere(device);
}

void beginGroup(fz_context*, fz_device* device, fz_rect, fz_colorspace*, int, int, int, float) {
    everywhere(device);
}

int beginTile(fz_context*, fz_device* device, fz_rect, fz_rect, float, float, fz_matrix, int) {
    everywhere(device);
    return 0;
}

}  // namespace

ColourPlaces findColourPlaces(fz_context* context, fz_display_list* list, fz_matrix ctm) {
    ColourPlaces found;
    found.places.reserve(kMostPlaces);
    PlacesDevice* device = nullptr;
    fz_var(device);
    fz_try(context) {
        device = reinterpret_cast<PlacesDevice*>(fz_new_device_of_size(context, sizeof(PlacesDevice)));
        device->found = &found;
        device->super.fill_path = fillPath;
        device->super.stroke_path = strokePath;
        device->super.fill_text = fillText;
        device->super.stroke_text = strokeText;
        device->super.fill_shade = fillShade;
        device->super.fill_image = fillImage;
        device->super.fill_image_mask = fillImageMask;
        device->super.begin_mask = beginMask;
        device->super.begin_group = beginGroup;
        device->super.begin_tile = beginTile;
        fz_run_display_list(context, list, &device->super, ctm, fz_infinite_rect, nullptr);
        fz_close_device(context, &device->super);
    }
    fz_always(context) {
        if (device != nullptr) fz_drop_device(context, &device->super);
    }
    fz_catch(context) {
        found.everywhere = true;  // the page is then drawn as a page with colour anywhere
    }
    return found;
}

std::vector<bool> bandsTouched(const ColourPlaces& found, fz_irect box, int bandRows) {
    const int height = box.y1 - box.y0;
    const int bands = (height + bandRows - 1) / bandRows;
    std::vector<bool> touched(std::size_t(std::max(bands, 0)), found.everywhere);
    for (const fz_irect& place : found.places) {
        if (place.x1 + kMarginPixels <= box.x0 || place.x0 - kMarginPixels >= box.x1) continue;
        const int top = std::max(place.y0 - kMarginPixels - box.y0, 0);
        const int bottom = std::min(place.y1 + kMarginPixels - box.y0, height);
        for (int band = top / bandRows; bandRows * band < bottom; ++band) touched[std::size_t(band)] = true;
    }
    return touched;
}

}  // namespace wordhost
