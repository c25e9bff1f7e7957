#include <gtest/gtest.h>

#include "wordhost/Selection.h"

using wordhost::Position;
using wordhost::Selection;

namespace {

// Pages given by their line counts; line texts are "p<page>l<line>".
class FakePages : public wordhost::PageLines {
  public:
    explicit FakePages(std::vector<int> counts) {
        for (std::size_t page = 0; page < counts.size(); ++page) {
            std::vector<std::string> lines;
            for (int line = 0; line < counts[page]; ++line) {
                lines.push_back("p" + std::to_string(page + 1) + "l" + std::to_string(line + 1));
            }
            pages_.push_back(lines);
        }
    }
    int pages() override { return static_cast<int>(pages_.size()); }
    const std::vector<std::string>& lines(int page) override {
        return pages_.at(static_cast<std::size_t>(page));
    }
    void dropFirst() { pages_.erase(pages_.begin()); }

  private:
    std::vector<std::vector<std::string>> pages_;
};

}  // namespace

TEST(Selection, GoToPageThenMoveUpSelectsTheFirstPage) {
    FakePages pages({3, 2, 4});
    Selection selection(pages);
    selection.goToPage(2);
    EXPECT_EQ(selection.start(), (Position{1, 0}));
    EXPECT_FALSE(selection.pages());
    EXPECT_EQ(selection.text(), "");
    for (int i = 0; i < 100; ++i) selection.moveUp(200, true);
    EXPECT_EQ(selection.start(), (Position{0, 0}));
    EXPECT_EQ(selection.text(), "p1l1\rp1l2\rp1l3\r");
    EXPECT_EQ(selection.pages(), std::make_pair(0, 0));
}

TEST(Selection, MovesUpLineByLineAcrossPages) {
    FakePages pages({3, 2, 4});
    Selection selection(pages);
    selection.goToPage(3);
    selection.moveUp(1, true);
    EXPECT_EQ(selection.text(), "p2l2\r");
    selection.moveUp(2, true);
    EXPECT_EQ(selection.text(), "p1l3\rp2l1\rp2l2\r");
    EXPECT_EQ(selection.pages(), std::make_pair(0, 1));
    selection.moveUp(1, false);
    EXPECT_EQ(selection.start(), (Position{0, 1}));
    EXPECT_EQ(selection.end(), (Position{0, 1}));
}

TEST(Selection, GoToClampsAndEndKeyTakesTheRest) {
    FakePages pages({1, 2});
    Selection selection(pages);
    selection.goToPage(9);
    EXPECT_EQ(selection.start(), (Position{1, 0}));
    selection.goToPage(-4);
    EXPECT_EQ(selection.start(), (Position{0, 0}));
    selection.endOfDocument(true);
    EXPECT_EQ(selection.text(), "p1l1\rp2l1\rp2l2\r");
    EXPECT_EQ(selection.pages(), std::make_pair(0, 1));
}

TEST(Selection, StaysInsideADocumentThatShrank) {
    FakePages pages({2, 2});
    Selection selection(pages);
    selection.goToPage(2);
    selection.endOfDocument(true);
    pages.dropFirst();
    pages.dropFirst();
    selection.clamp();
    EXPECT_EQ(selection.text(), "");
    EXPECT_FALSE(selection.pages());
    selection.goToPage(2);
    selection.moveUp(5, true);
    EXPECT_EQ(selection.start(), (Position{0, 0}));
}
