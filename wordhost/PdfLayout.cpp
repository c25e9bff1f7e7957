#include "wordhost/PdfLayout.h"

#include "wordhost/EngineError.h"

#include <cstring>
#include <poppler-document.h>
#include <poppler-image.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>

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

PdfLayout::PdfLayout(const std::string& pdfPath) : document_(poppler::document::load_from_file(pdfPath)) {
    if (!document_ || document_->is_locked()) {
        throw EngineError("The document engine produced no readable page layout.");
    }
    pageCount_ = document_->pages();
}

PdfLayout::~PdfLayout() = default;

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

PageImage PdfLayout::render(int page) const {
    std::unique_ptr<poppler::page> p(document_->create_page(page));
    if (!p) throw EngineError("The page " + std::to_string(page + 1) + " of the layout cannot be read.");
    poppler::page_renderer renderer;
    renderer.set_render_hint(poppler::page_renderer::antialiasing, true);
    renderer.set_render_hint(poppler::page_renderer::text_antialiasing, true);
    renderer.set_image_format(poppler::image::format_rgb24);
    const poppler::image image = renderer.render_page(p.get(), kDpi, kDpi);
    if (!image.is_valid() || image.format() != poppler::image::format_rgb24) {
        throw EngineError("The page " + std::to_string(page + 1) + " cannot be drawn.");
    }
    PageImage picture;
    picture.width = image.width();
    picture.height = image.height();
    picture.rgb.resize(std::size_t(picture.width) * picture.height * 3);
    const std::size_t row = std::size_t(picture.width) * 3;
    for (int y = 0; y < picture.height; ++y) {
        std::memcpy(picture.rgb.data() + y * row, image.const_data() + std::size_t(y) * image.bytes_per_row(), row);
    }
    return picture;
}

}  // namespace wordhost
