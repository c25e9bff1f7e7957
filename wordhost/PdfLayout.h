#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "wordhost/PageImage.h"

namespace poppler {
class document;
}

namespace wordhost {

// The engine's page layout, read from its PDF export: pages, their text by lines, and their
// pictures. One object per thread: Poppler documents are not shared between threads.
class PdfLayout {
  public:
    static constexpr double kDpi = 150;

    explicit PdfLayout(const std::string& pdfPath);  // throws EngineError
    ~PdfLayout();

    int pageCount() const { return pageCount_; }
    // The text lines of a page, top to bottom; at least one (a page always holds a paragraph mark).
    const std::vector<std::string>& lines(int page);
    // The page at kDpi, 24-bit RGB.
    PageImage render(int page) const;
    // Width and height of the page's picture, without drawing it.
    std::pair<int, int> pictureSize(int page) const;

  private:
    std::unique_ptr<poppler::document> document_;
    int pageCount_ = 0;
    std::map<int, std::vector<std::string>> lines_;
};

}  // namespace wordhost
