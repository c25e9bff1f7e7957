#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <future>
#include <sstream>

#include "tests/support/ScratchHome.h"
#include "wordhost/EngineError.h"
#include "wordhost/MupdfLayout.h"
#include "wordhost/PageText.h"

using protocol::PagePicture;
using wordhost::MupdfLayout;

namespace {

struct TestPage {
    double width = 612;  // Letter, in points
    double height = 792;
    int rotate = 0;
    std::string content;  // the page's drawing operators
};

// Text in Helvetica at (x, y) from the page's lower left corner, as a PDF writer places it.
std::string text(double x, double y, const std::string& words) {
    std::ostringstream out;
    out << "BT /F1 12 Tf " << x << ' ' << y << " Td (" << words << ") Tj ET\n";
    return out.str();
}

// A small PDF file with the pages, its cross-reference table at the right offsets.
std::string pdfFile(const std::vector<TestPage>& pages) {
    std::vector<std::string> objects;
    std::string kids;
    for (std::size_t i = 0; i < pages.size(); ++i) kids += std::to_string(4 + 2 * i) + " 0 R ";
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    for (std::size_t i = 0; i < pages.size(); ++i) {
        std::ostringstream page;
        page << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " << pages[i].width << ' ' << pages[i].height
             << "] /Rotate " << pages[i].rotate << " /Resources << /Font << /F1 3 0 R >> >> /Contents "
             << 5 + 2 * i << " 0 R >>";
        objects.push_back(page.str());
        objects.push_back("<< /Length " + std::to_string(pages[i].content.size()) + " >>\nstream\n" +
                          pages[i].content + "\nendstream");
    }
    std::string file = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(file.size());
        file += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t table = file.size();
    file += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        file += entry;
    }
    file += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
            std::to_string(table) + "\n%%EOF\n";
    return file;
}

std::string writeFile(const std::string& name, const std::string& contents) {
    const std::string path = testsupport::scratchHome().toStdString() + "/" + name;
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

std::uint32_t pixel(const PagePicture& picture, int x, int y) {
    std::uint32_t value;
    std::memcpy(&value, picture.pixels.data() + (std::size_t(y) * picture.width + x) * 4, 4);
    return value;
}

}  // namespace

TEST(MupdfLayout, PagesKeepTheirBoxesTurnsAndLines) {
    TestPage letter;
    letter.content = text(72, 700, "First line") + text(72, 680, "Second line") + text(300, 680, "beside it");
    TestPage turned;
    turned.rotate = 90;
    turned.content = text(72, 700, "Landscape");
    TestPage a4;  // a size that is no whole number of pixels at 150 dpi
    a4.width = 595.28;
    a4.height = 841.89;
    TestPage blank;
    blank.content = text(72, 700, "   ");
    MupdfLayout layout(writeFile("pages.pdf", pdfFile({letter, turned, a4, blank})));

    ASSERT_EQ(layout.pageCount(), 4);
    EXPECT_EQ(layout.pictureSize(0), std::make_pair(1275, 1650));
    EXPECT_EQ(layout.pictureSize(1), std::make_pair(1650, 1275));
    EXPECT_EQ(layout.pictureSize(2), std::make_pair(1241, 1754));
    // Top to bottom; what stands side by side is one line, left to right.
    EXPECT_EQ(layout.lines(0), (std::vector<std::string>{"First line", "Second line beside it"}));
    EXPECT_EQ(layout.lines(1), (std::vector<std::string>{"Landscape"}));
    // A page without text still holds its paragraph mark.
    EXPECT_EQ(layout.lines(2), (std::vector<std::string>{""}));
    EXPECT_EQ(layout.lines(3), (std::vector<std::string>{""}));
}

TEST(MupdfLayout, PicturesAreDrawnOnWhiteInTheReplysPixelFormat) {
    TestPage page;
    page.content = "1 0 0 rg 0 692 100 100 re f 0 0 1 rg 512 0 100 100 re f 0 g\n" + text(200, 400, "Ink");
    const std::string path = writeFile("colours.pdf", pdfFile({page, page}));
    MupdfLayout layout(path);
    const PagePicture picture = layout.render(0);
    ASSERT_EQ(picture.width, 1275);
    ASSERT_EQ(picture.height, 1650);
    ASSERT_EQ(picture.pixels.size(), std::size_t(1275) * 1650 * 4);
    EXPECT_EQ(pixel(picture, 600, 100), 0xffffffffu);    // paper
    EXPECT_EQ(pixel(picture, 50, 50), 0xffff0000u);      // red, top left
    EXPECT_EQ(pixel(picture, 1250, 1620), 0xff0000ffu);  // blue, bottom right
    int ink = 0;
    for (std::size_t i = 3; i < picture.pixels.size(); i += 4) {
        ASSERT_EQ(static_cast<unsigned char>(picture.pixels[i]), 0xff) << "no pixel is transparent";
    }
    for (int y = 800; y < 840; ++y) {
        for (int x = 400; x < 480; ++x) ink += (pixel(picture, x, y) & 0xff) < 100 ? 1 : 0;
    }
    EXPECT_GT(ink, 50) << "the word is drawn";

    // Another thread reads the same export with a reader of its own and draws the same page.
    std::unique_ptr<wordhost::PageLayout> again = layout.openAgain();
    const PagePicture drawnElsewhere = std::async(std::launch::async, [&] { return again->render(1); }).get();
    EXPECT_EQ(drawnElsewhere.pixels, picture.pixels);
}

TEST(MupdfLayout, AnUnreadableLayoutIsAnEngineError) {
    for (const std::string& contents : {std::string("not a PDF at all"), std::string()}) {
        try {
            MupdfLayout layout(writeFile("bad.pdf", contents));
            ADD_FAILURE() << "opened: " << contents;
        } catch (const wordhost::EngineError& error) {
            EXPECT_STREQ(error.what(), "The document engine produced no readable page layout.");
        }
    }
    EXPECT_THROW(MupdfLayout(testsupport::scratchHome().toStdString() + "/missing.pdf"),
                 wordhost::EngineError);
}

TEST(PageText, LinesStandTopToBottomAndPiecesOfOneLineLeftToRight) {
    using wordhost::TextPiece;
    auto piece = [](float baseline, float left, const char* words) {
        return TextPiece{baseline - 10, baseline + 2, baseline, left, words};
    };
    // Out of order, as a reader may find them: a table row of two cells, a line just below.
    EXPECT_EQ(wordhost::linesTopToBottom({piece(120, 10, "below  "), piece(100.5f, 300, "right cell"),
                                          piece(100, 10, "left cell"), piece(110, 10, " \t")}),
              (std::vector<std::string>{"left cell right cell", "below"}));
    EXPECT_EQ(wordhost::linesTopToBottom({}), (std::vector<std::string>{""}));
}
