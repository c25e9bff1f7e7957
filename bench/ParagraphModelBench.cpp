// Time to read a long document's paragraph indents, patch them and write the package again.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/paragraphs/DocxWriter.h"
#include "wordhost/paragraphs/ParagraphModel.h"

namespace {
double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
}  // namespace

int main() {
    constexpr int kParagraphs = 50000;  // some 1,500 pages of text
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "marrowdale-paragraph-bench";
    std::filesystem::create_directories(dir);
    std::string body;
    for (int i = 0; i < kParagraphs; ++i) {
        body += testdocx::paragraph(i % 10 == 0 ? R"(<w:pStyle w:val="Quote"/><w:ind w:left="-360"/>)" : "",
                                    "A line of ordinary text that fills a paragraph of a long report.");
    }
    const std::string styles = testdocx::stylesXml(
        R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"/>)"
        R"(<w:style w:type="paragraph" w:styleId="Quote"><w:basedOn w:val="Normal"/><w:pPr><w:ind w:right="-200"/></w:pPr></w:style>)");
    const std::string original = (dir / "long.docx").string();
    testdocx::writeDocx(original,
                        {{"word/document.xml", testdocx::documentXml(body)}, {"word/styles.xml", styles}});

    auto start = std::chrono::steady_clock::now();
    wordhost::ParagraphModel model(original);
    const double read = secondsSince(start);
    start = std::chrono::steady_clock::now();
    int patched = 0;
    for (std::size_t i = 0; i < model.indents().size(); ++i) {
        if (model.indents()[i].left < 0) {
            model.setLeftIndent(i, 0);
            ++patched;
        }
        if (model.indents()[i].right < 0) {
            model.setRightIndent(i, 0);
            ++patched;
        }
    }
    const double patch = secondsSince(start);
    start = std::chrono::steady_clock::now();
    model.saveAs((dir / "patched.docx").string());
    const double save = secondsSince(start);
    std::printf(
        "%zu paragraphs (%lld KB package): read %.0f ms, %d indents patched in %.1f ms, saved in %.0f ms\n",
        model.indents().size(), static_cast<long long>(std::filesystem::file_size(original) / 1024),
        read * 1000, patched, patch * 1000, save * 1000);
    std::filesystem::remove_all(dir);
    return 0;
}
