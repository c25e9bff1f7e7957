// A layout exported in parts, on an exporter that writes PDFs of a document's page ranges.
#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <mutex>

#include "tests/wordhost/TestPdf.h"
#include "wordhost/EngineError.h"
#include "wordhost/LayoutInParts.h"
#include "wordhost/PdfExportSettings.h"

using namespace wordhosttest;
using wordhost::EngineError;
using wordhost::LayoutInParts;
using wordhost::PageLayout;
using wordhost::PageSpan;
using wordhost::planLayoutParts;

namespace {

// A document of `pages` pages, each showing its number; a span past its end is refused, as the
// office refuses it. Exports from number `failFrom` on (1-based) fail.
struct PagedExporter {
    explicit PagedExporter(int pageCount, int failingFrom = 0) : pages(pageCount), failFrom(failingFrom) {}

    int pages;
    int failFrom;
    std::mutex mutex;
    std::vector<PageSpan> asked;

    LayoutInParts::ExportPages function() {
        return [this](PageSpan span) {
            std::lock_guard lock(mutex);
            asked.push_back(span);
            if (failFrom > 0 && static_cast<int>(asked.size()) >= failFrom)
                throw EngineError("The engine cannot lay out the document as pdf.");
            const int last = span.last == 0 ? pages : std::min(span.last, pages);
            if (span.first > last) throw EngineError("The engine cannot lay out the document as pdf.");
            std::vector<TestPage> range;
            for (int page = span.first; page <= last; ++page)
                range.push_back({612, 792, 0, text(72, 700, "page " + std::to_string(page))});
            return writeFile("parts-" + std::to_string(asked.size()) + ".pdf", pdfFile(range));
        };
    }
    std::vector<PageSpan> spans() {
        std::lock_guard lock(mutex);
        return asked;
    }
};

// The number each page of the layout shows, read on the calling thread.
std::vector<int> pageNumbers(PageLayout& layout) {
    std::vector<int> numbers;
    const int count = layout.pageCount();
    for (int page = 0; page < count; ++page) numbers.push_back(std::stoi(layout.lines(page).at(0).substr(5)));
    return numbers;
}

std::vector<int> oneTo(int count) {
    std::vector<int> numbers(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) numbers[static_cast<std::size_t>(i)] = i + 1;
    return numbers;
}

}  // namespace

TEST(LayoutInParts, ShortDocumentsAreExportedWholeAndLongOnesInGrowingPartsWithoutGaps) {
    EXPECT_EQ(planLayoutParts(0), (std::vector<PageSpan>{{1, 0}}));
    EXPECT_EQ(planLayoutParts(16), (std::vector<PageSpan>{{1, 0}}));
    EXPECT_EQ(planLayoutParts(17), (std::vector<PageSpan>{{1, 8}, {9, 0}}));
    for (int expected : {17, 24, 25, 194, 100000}) {
        const std::vector<PageSpan> plan = planLayoutParts(expected);
        EXPECT_EQ(plan.front(), (PageSpan{1, 8})) << expected;
        EXPECT_EQ(plan.back().last, 0) << expected;
        EXPECT_LE(plan.back().first, expected) << "the open last part holds at least one page";
        for (std::size_t i = 1; i < plan.size(); ++i) {
            EXPECT_EQ(plan[i].first, plan[i - 1].last + 1) << expected;
            if (plan[i].last != 0) {
                EXPECT_EQ(plan[i].last - plan[i].first, 2 * (plan[i - 1].last - plan[i - 1].first) + 1);
            }
        }
    }
    EXPECT_EQ(wordhost::pageRangeText({9, 24}), "9-24");
    EXPECT_EQ(wordhost::pageRangeText({25, 0}), "25-");
}

TEST(LayoutInParts, EveryPageIsReadFromItsPartInOrderOnAnyThread) {
    PagedExporter exporter{60};
    LayoutInParts exported(exporter.function(), planLayoutParts(60));
    std::unique_ptr<PageLayout> layout = exported.layout();
    const PageLayout::ReadyPages first = layout->readyPages();
    EXPECT_GE(first.count, 8);  // the first part is there before the constructor returns
    EXPECT_EQ(layout->lines(0), std::vector<std::string>{"page 1"});

    std::unique_ptr<PageLayout> again = layout->openAgain();
    auto elsewhere = std::async(std::launch::async, [&] { return pageNumbers(*again); });
    EXPECT_EQ(pageNumbers(*layout), oneTo(60));
    EXPECT_EQ(elsewhere.get(), oneTo(60));
    EXPECT_EQ(layout->readyPages().count, 60);
    EXPECT_TRUE(layout->readyPages().all);
    EXPECT_EQ(layout->pictureSize(59), std::make_pair(1275, 1650));
    EXPECT_EQ(layout->render(30).width, 1275);
    EXPECT_THROW(layout->lines(60), EngineError);
    exported.finish();
    EXPECT_EQ(exporter.spans(), planLayoutParts(60));
}

TEST(LayoutInParts, TheEstimateIsOnlyAPlanShortPartsEndTheDocumentAndTheOpenLastOneTakesTheRest) {
    PagedExporter shorter{20};  // planned for 60: the second part comes back with 12 pages of 16
    LayoutInParts fewer(shorter.function(), planLayoutParts(60));
    EXPECT_EQ(pageNumbers(*fewer.layout()), oneTo(20));
    fewer.finish();
    EXPECT_EQ(shorter.spans(), (std::vector<PageSpan>{{1, 8}, {9, 24}}));

    PagedExporter longer{70};  // planned for 30
    LayoutInParts more(longer.function(), planLayoutParts(30));
    EXPECT_EQ(pageNumbers(*more.layout()), oneTo(70));
}

TEST(LayoutInParts, APartRefusedAfterFullOnesLeavesTheRestToTheWholeExport) {
    PagedExporter exact{24};  // planned for 40: 1-8 and 9-24 are full, 25- is refused
    LayoutInParts ending(exact.function(), planLayoutParts(40));
    EXPECT_EQ(pageNumbers(*ending.layout()), oneTo(24));
    ending.finish();
    EXPECT_EQ(exact.spans().back(), (PageSpan{1, 0}));

    PagedExporter failing{60, 2};  // every export after the first fails, the whole one too
    LayoutInParts broken(failing.function(), planLayoutParts(60));
    std::unique_ptr<PageLayout> layout = broken.layout();
    EXPECT_EQ(layout->lines(7), std::vector<std::string>{"page 8"});
    try {
        layout->lines(8);
        ADD_FAILURE() << "a page no export holds was read";
    } catch (const EngineError& error) {
        EXPECT_STREQ(error.what(), "The engine cannot lay out the document as pdf.");
    }
    EXPECT_THROW(layout->pageCount(), EngineError);  // the document is not taken as 8 pages long
    EXPECT_FALSE(layout->readyPages().all);
}

TEST(LayoutInParts, AFirstPartThatCannotBeExportedFailsTheExport) {
    PagedExporter failing{60, 1};
    EXPECT_THROW(LayoutInParts(failing.function(), planLayoutParts(60)), EngineError);
}

TEST(LayoutInParts, PagesAloneAreExportedWithEveryOneOfTheOfficesSettings) {
    const std::string data = wordhost::pdfFilterData(
        {{"Quality", "long", "90"}, {"Watermark", "string", "say \"no\""}, {"PageRange", "string", "1-2"}},
        "9-24");
    EXPECT_EQ(data,
              R"({"Quality":{"type":"long","value":"90"},"Watermark":{"type":"string","value":"say \"no\""},)"
              R"("PageRange":{"type":"string","value":"9-24"}})");
}
