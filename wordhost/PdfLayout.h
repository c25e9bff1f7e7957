#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "wordhost/Engine.h"
#include "wordhost/PageImage.h"

namespace poppler {
class document;
}

namespace wordhost {

// The engine's page layout, read from its PDF export: pages, their text by lines, and their
// pictures. One object per thread: Poppler documents are not shared between threads.
class PdfLayout : public PageLayout {
  public:
    static constexpr double kDpi = 150;

    explicit PdfLayout(const std::string& pdfPath);  // throws EngineError
    ~PdfLayout() override;

    int pageCount() const override { return pageCount_; }
    const std::vector<std::string>& lines(int page) override;
    // The page at kDpi.
    PageImage render(int page) const override;
    std::pair<int, int> pictureSize(int page) const override;
    std::unique_ptr<PageLayout> openAgain() const override;

  private:
    const std::string path_;
    std::unique_ptr<poppler::document> document_;
    int pageCount_ = 0;
    std::map<int, std::vector<std::string>> lines_;
};

}  // namespace wordhost
