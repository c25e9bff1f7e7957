#include "wordhost/MupdfLayout.h"

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include <algorithm>
#include <cmath>

#include "shared/BandedRows.h"
#include "wordhost/ColourPlaces.h"
#include "wordhost/EngineError.h"
#include "wordhost/PageText.h"

namespace wordhost {

using namespace protocol;

namespace {

const char* const kUnreadable = "The document engine produced no readable page layout.";

std::string pageError(const char* what, int page, const MupdfContext& context) {
    return "The page " + std::to_string(page + 1) + " of the layout " + what + ": " + context.caughtMessage();
}

// The page's box in pixels at the layout's resolution: whole pixels, the size rounded up, as
// Poppler's own tools size a page, and turned as the page's rotation says.
fz_irect pixelBox(fz_context* context, fz_page* page, fz_matrix scale) {
    const fz_rect box = fz_transform_rect(fz_bound_page(context, page), scale);
    fz_irect pixels;
    pixels.x0 = static_cast<int>(std::floor(box.x0 + 1e-3f));
    pixels.y0 = static_cast<int>(std::floor(box.y0 + 1e-3f));
    pixels.x1 = pixels.x0 + static_cast<int>(std::ceil(double(box.x1) - box.x0 - 1e-6));
    pixels.y1 = pixels.y0 + static_cast<int>(std::ceil(double(box.y1) - box.y0 - 1e-6));
    return pixels;
}

fz_matrix layoutScale() {
    const float zoom = static_cast<float>(MupdfLayout::kDpi / 72.0);
    return fz_scale(zoom, zoom);
}

// The text lines MuPDF found on the page, each with its place, in no particular order.
std::vector<TextPiece> textPieces(const fz_stext_page& text) {
    std::vector<TextPiece> pieces;
    for (const fz_stext_block* block = text.first_block; block != nullptr; block = block->next) {
        if (block->type != FZ_STEXT_BLOCK_TEXT) continue;
        for (const fz_stext_line* line = block->u.t.first_line; line != nullptr; line = line->next) {
            TextPiece piece;
            piece.top = line->bbox.y0;
            piece.bottom = line->bbox.y1;
            piece.left = line->bbox.x0;
            for (const fz_stext_char* ch = line->first_char; ch != nullptr; ch = ch->next) {
                char utf8[FZ_UTFMAX];
                piece.text.append(utf8, static_cast<std::size_t>(fz_runetochar(utf8, ch->c)));
            }
            if (line->first_char != nullptr) piece.baseline = line->first_char->origin.y;
            pieces.push_back(std::move(piece));
        }
    }
    return pieces;
}

// The page recorded for drawing, and whether it has colour: a test device between the page and
// the recording tells, at no extra pass. Only a page that is grey for certain (no colour, and no
// picture or shading in a colour space) counts as grey.
fz_display_list* recordPage(fz_context* context, fz_page* page, bool& grey) {
    fz_display_list* list = nullptr;
    fz_device* recorder = nullptr;
    fz_device* test = nullptr;
    int colour = 2;
    fz_var(list);
    fz_var(recorder);
    fz_var(test);
    fz_try(context) {
        list = fz_new_display_list(context, fz_bound_page(context, page));
        recorder = fz_new_list_device(context, list);
        test = fz_new_test_device(context, &colour, 0.0f, 0, recorder);
        fz_run_page(context, page, test, fz_identity, nullptr);
        fz_close_device(context, test);
        fz_close_device(context, recorder);
    }
    fz_always(context) {
        fz_drop_device(context, test);
        fz_drop_device(context, recorder);
    }
    fz_catch(context) {
        fz_drop_display_list(context, list);
        fz_rethrow(context);
    }
    grey = colour == 0;
    return list;
}

// Draws the record onto the white already in `samples`, the pixels of `area` of the page: grey
// bytes, or blue, green, red, alpha bytes (the picture's 0xffRRGGBB words on this machine).
bool drawArea(fz_context* context, fz_display_list* list, fz_matrix scale, fz_irect area, bool grey,
              unsigned char* samples) {
    fz_pixmap* target = nullptr;
    fz_device* device = nullptr;
    volatile bool drawn = false;  // set within the MuPDF try, read after it
    fz_var(target);
    fz_var(device);
    fz_try(context) {
        target =
            fz_new_pixmap_with_bbox_and_data(context, grey ? fz_device_gray(context) : fz_device_bgr(context),
                                             area, nullptr, grey ? 0 : 1, samples);
        device = fz_new_draw_device(context, scale, target);
        fz_run_display_list(context, list, device, fz_identity, fz_infinite_rect, nullptr);
        fz_close_device(context, device);
        drawn = true;
    }
    fz_always(context) {
        fz_drop_device(context, device);
        fz_drop_pixmap(context, target);
    }
    fz_catch(context) {
        // drawn stays false: the caller reports the page
    }
    return drawn;
}

// The whole page in one format. MuPDF draws onto the white paper in the very bytes that become
// the reply.
PagePicture drawWhole(fz_context* context, fz_display_list* list, fz_matrix scale, fz_irect box, bool grey,
                      bool& drawn) {
    PagePicture picture;
    picture.format = grey ? PixelFormat::Grey8 : PixelFormat::Rgb32;
    picture.width = box.x1 - box.x0;
    picture.height = box.y1 - box.y0;
    picture.pixels.assign(picture.bytesPerRow() * std::size_t(picture.height), '\xFF');
    drawn =
        drawArea(context, list, scale, box, grey, reinterpret_cast<unsigned char*>(picture.pixels.data()));
    return picture;
}

// A page with colour in a few places (a coloured heading, a link): drawn in grey, and only the
// bands of 16 rows those places touch drawn again in 32 bits. The picture is then in bands as a
// whole 32-bit drawing packed band by band would be (shared/BandedRows.h): a touched band that
// came out grey after all is sent as its grey bytes.
PagePicture drawWithColourBands(fz_context* context, fz_display_list* list, fz_matrix scale, fz_irect box,
                                bool& drawn) {
    const std::vector<bool> touched =
        bandsTouched(findColourPlaces(context, list, scale), box, shared::kBandRows);
    const auto touchedBands = std::count(touched.begin(), touched.end(), true);
    if (touched.empty() || touchedBands * 2 > std::ptrdiff_t(touched.size()))
        return drawWhole(context, list, scale, box, false, drawn);  // drawing twice would cost more
    const int width = box.x1 - box.x0;
    const int height = box.y1 - box.y0;
    const std::size_t rowBytes = std::size_t(width) * 4;
    thread_local std::string greyPage;  // kept: fresh megabytes cost a fault every 4 KB
    greyPage.assign(std::size_t(width) * std::size_t(height), '\xFF');
    auto* greyBytes = reinterpret_cast<unsigned char*>(greyPage.data());
    drawn = drawArea(context, list, scale, box, true, greyBytes);
    PagePicture picture;
    picture.width = width;
    picture.height = height;
    // At most: every touched band in colour, and the table.
    picture.pixels.reserve(greyPage.size() +
                           std::size_t(touchedBands) * shared::kBandRows * (rowBytes - std::size_t(width)) +
                           touched.size());
    std::string table(touched.size(), '\0');
    thread_local std::string colourRows;  // the touched bands in 32 bits, kept like the grey page
    for (std::size_t band = 0; drawn && band < touched.size();) {
        const std::size_t top = band * shared::kBandRows;
        if (!touched[band]) {
            picture.pixels.append(greyPage, top * std::size_t(width),
                                  std::size_t(shared::rowsOfBand(band, height)) * std::size_t(width));
            ++band;
            continue;
        }
        std::size_t end = band;  // the touched bands from here on, drawn in one go
        while (end < touched.size() && touched[end]) ++end;
        const int bottom = std::min(height, int(end) * shared::kBandRows);
        colourRows.assign((std::size_t(bottom) - top) * rowBytes, '\xFF');
        const fz_irect area{box.x0, box.y0 + int(top), box.x1, box.y0 + bottom};
        drawn =
            drawArea(context, list, scale, area, false, reinterpret_cast<unsigned char*>(colourRows.data()));
        for (; drawn && band < end; ++band) {
            const int rows = shared::rowsOfBand(band, height);
            const auto* from = reinterpret_cast<const unsigned char*>(colourRows.data()) +
                               (band * shared::kBandRows - top) * rowBytes;
            const std::size_t at = picture.pixels.size();
            picture.pixels.resize(at + std::size_t(rows) * std::size_t(width));
            auto* to = reinterpret_cast<unsigned char*>(picture.pixels.data()) + at;
            if (shared::packGreyRows(from, rowBytes, rows, std::size_t(width), to, std::size_t(width)))
                continue;
            picture.pixels.resize(at);
            picture.pixels.append(reinterpret_cast<const char*>(from), std::size_t(rows) * rowBytes);
            table[band] = '\1';
        }
    }
    if (table.find('\1') == std::string::npos) {
        picture.format = PixelFormat::Grey8;
    } else {
        picture.pixels += table;
        picture.format = PixelFormat::Banded;
    }
    return picture;
}

}  // namespace

MupdfLayout::MupdfLayout(const std::string& pdfPath) : path_(pdfPath) {
    fz_context* context = context_.get();
    pdf_document* opened = nullptr;
    int pages = 0;
    fz_var(opened);
    fz_var(pages);
    fz_try(context) {
        opened = pdf_open_document(context, path_.c_str());
        pages = fz_count_pages(context, &opened->super);
    }
    fz_catch(context) {
        if (opened != nullptr) fz_drop_document(context, &opened->super);
        throw EngineError(kUnreadable);
    }
    document_ = &opened->super;
    pageCount_ = pages;
}

MupdfLayout::~MupdfLayout() {
    dropDrawnList();
    for (const auto& [number, page] : pages_) fz_drop_page(context_.get(), page);
    fz_drop_document(context_.get(), document_);
}

std::unique_ptr<PageLayout> MupdfLayout::openAgain() const { return std::make_unique<MupdfLayout>(path_); }

void MupdfLayout::dropDrawnList() const {
    fz_drop_display_list(context_.get(), drawnList_);
    drawnList_ = nullptr;
    drawnPage_ = -1;
}

fz_page* MupdfLayout::page(int number) const {
    if (auto found = pages_.find(number); found != pages_.end()) return found->second;
    fz_context* context = context_.get();
    fz_page* loaded = nullptr;
    fz_var(loaded);
    fz_try(context) { loaded = fz_load_page(context, document_, number); }
    fz_catch(context) { throw EngineError(pageError("cannot be read", number, context_)); }
    pages_.emplace(number, loaded);
    return loaded;
}

const std::vector<std::string>& MupdfLayout::lines(int number) {
    if (auto found = lines_.find(number); found != lines_.end()) return found->second;
    fz_context* context = context_.get();
    fz_page* source = page(number);
    fz_stext_page* text = nullptr;
    fz_var(text);
    fz_stext_options options{};  // ligatures spelt out, runs of white space as one
    fz_display_list* const drawn = drawnPage_ == number ? drawnList_ : nullptr;
    fz_try(context) {
        text = drawn != nullptr ? fz_new_stext_page_from_display_list(context, drawn, &options)
                                : fz_new_stext_page_from_page(context, source, &options);
    }
    fz_catch(context) {
        if (drawn != nullptr) dropDrawnList();
        throw EngineError(pageError("has no readable text", number, context_));
    }
    if (drawn != nullptr) dropDrawnList();
    std::vector<std::string> found = linesTopToBottom(textPieces(*text));
    fz_drop_stext_page(context, text);
    return lines_.emplace(number, std::move(found)).first->second;
}

std::pair<int, int> MupdfLayout::pictureSize(int number) const {
    const fz_irect box = pixelBox(context_.get(), page(number), layoutScale());
    return {box.x1 - box.x0, box.y1 - box.y0};
}

PagePicture MupdfLayout::render(int number) const {
    fz_context* context = context_.get();
    fz_page* source = page(number);
    const fz_matrix scale = layoutScale();
    const fz_irect box = pixelBox(context, source, scale);
    dropDrawnList();
    bool grey = false;
    fz_display_list* list = nullptr;
    fz_try(context) { list = recordPage(context, source, grey); }
    fz_catch(context) { throw EngineError(pageError("cannot be drawn", number, context_)); }
    bool drawn = false;
    PagePicture picture;
    try {
        picture = grey ? drawWhole(context, list, scale, box, true, drawn)
                       : drawWithColourBands(context, list, scale, box, drawn);
    } catch (...) {
        fz_drop_display_list(context, list);
        throw;
    }
    if (!drawn) {
        fz_drop_display_list(context, list);
        throw EngineError(pageError("cannot be drawn", number, context_));
    }
    drawnList_ = list;
    drawnPage_ = number;
    return picture;
}

}  // namespace wordhost
