#include "wordhost/PdfLayout.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-image.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>

#include <cmath>
#include <cstring>
#include <mutex>

#include "wordhost/EngineError.h"

namespace wordhost {

namespace {

std::vector<std::string> splitLines(const std::vector<char>& utf8) {
    std::vector<std::string> lines;
    std::string line;
    auto flush = [&] {
        const std::size_t end = line.find_last_not_of(" \t\r\f\v");
        if (end != std::string::npos) lines.push_back(line.substr(0, end + 1));
        line.clear();
    };
    for (char c : utf8) {
        if (c == '\n') {
            flush();
        } else {
            line += c;
        }
    }
    flush();
    if (lines.empty()) lines.emplace_back();  // the paragraph mark of an empty or picture-only page
    return lines;
}

}  // namespace

namespace {
void quiet(const std::string&, void*) {}
}  // namespace

PdfLayout::PdfLayout(const std::string& pdfPath) : path_(pdfPath) {
    // Poppler's complaints about the engine's PDF (odd annotation boxes) are of no use here.
    static std::once_flag once;
    std::call_once(once, [] { poppler::set_debug_error_function(quiet, nullptr); });
    document_.reset(poppler::document::load_from_file(pdfPath));
    if (!document_ || document_->is_locked()) {
        throw EngineError("The document engine produced no readable page layout.");
    }
    pageCount_ = document_->pages();
}

PdfLayout::~PdfLayout() = default;

std::unique_ptr<PageLayout> PdfLayout::openAgain() const { return std::make_unique<PdfLayout>(path_); }

const std::vector<std::string>& PdfLayout::lines(int page) {
    auto found = lines_.find(page);
    if (found != lines_.end()) return found->second;
    std::vector<std::string> text;
    std::unique_ptr<poppler::page> p(document_->create_page(page));
    if (p) {
        text = splitLines(p->text(p->page_rect(), poppler::page::physical_layout).to_utf8());
    } else {
        text.emplace_back();
    }
    return lines_.emplace(page, std::move(text)).first->second;
}

std::pair<int, int> PdfLayout::pictureSize(int page) const {
    std::unique_ptr<poppler::page> p(document_->create_page(page));
    if (!p) return {0, 0};
    // Whole pixels rounded up, as Poppler's own pdftoppm sizes a page.
    const poppler::rectf box = p->page_rect(poppler::media_box);
    const bool turned =
        p->orientation() == poppler::page::landscape || p->orientation() == poppler::page::seascape;
    const double width = (turned ? box.height() : box.width()) * kDpi / 72.0;
    const double height = (turned ? box.width() : box.height()) * kDpi / 72.0;
    return {static_cast<int>(std::ceil(width - 1e-6)), static_cast<int>(std::ceil(height - 1e-6))};
}

PageImage PdfLayout::render(int page) const {
    std::unique_ptr<poppler::page> p(document_->create_page(page));
    if (!p) throw EngineError("The page " + std::to_string(page + 1) + " of the layout cannot be read.");
    poppler::page_renderer renderer;
    renderer.set_render_hint(poppler::page_renderer::antialiasing, true);
    renderer.set_render_hint(poppler::page_renderer::text_antialiasing, true);
    renderer.set_image_format(poppler::image::format_argb32);  // Poppler's own layout: no conversion
    const auto [width, height] = pictureSize(page);
    const poppler::image image = renderer.render_page(p.get(), kDpi, kDpi, 0, 0, width, height);
    if (!image.is_valid() || image.format() != poppler::image::format_argb32) {
        throw EngineError("The page " + std::to_string(page + 1) + " cannot be drawn.");
    }
    PageImage picture;
    picture.width = image.width();
    picture.height = image.height();
    const std::size_t row = std::size_t(picture.width) * PageImage::kBytesPerPixel;
    if (std::size_t(image.bytes_per_row()) == row) {
        picture.pixels.assign(image.const_data(), row * std::size_t(picture.height));
        return picture;
    }
    picture.pixels.resize(row * std::size_t(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        std::memcpy(picture.pixels.data() + y * row,
                    image.const_data() + std::size_t(y) * image.bytes_per_row(), row);
    }
    return picture;
}

}  // namespace wordhost
