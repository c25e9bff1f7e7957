#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "wordhost/Engine.h"
#include "wordhost/MupdfContext.h"
#include "wordhost/StackPages.h"

struct fz_document;
struct fz_page;
struct fz_display_list;

namespace wordhost {

// The engine's page layout, read from its PDF export with MuPDF: pages, their text by lines, and
// their pictures. One object per thread, each with a MuPDF context of its own.
class MupdfLayout : public PageLayout {
  public:
    static constexpr double kDpi = 150;

    explicit MupdfLayout(const std::string& pdfPath);  // throws EngineError
    ~MupdfLayout() override;

    int pageCount() const override { return pageCount_; }
    const std::vector<std::string>& lines(int page) override;
    // The page at kDpi, drawn on white straight into the picture that is sent.
    protocol::PagePicture render(int page) const override;
    std::pair<int, int> pictureSize(int page) const override;
    std::unique_ptr<PageLayout> openAgain() const override;

  private:
    fz_page* page(int number) const;  // throws EngineError
    void dropDrawnList() const;

    const std::string path_;
    MupdfContext context_;
    fz_document* document_ = nullptr;
    int pageCount_ = 0;
    mutable std::map<int, fz_page*> pages_;
    std::map<int, std::vector<std::string>> lines_;
    // The last page drawn, as MuPDF read it: its text lines are read from this record instead of
    // reading the page's contents a second time (a page's text then takes a fifth of the time).
    mutable fz_display_list* drawnList_ = nullptr;
    mutable int drawnPage_ = -1;
};

}  // namespace wordhost
