#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "tests/support/ScratchHome.h"
#include "tests/wordhost/DocxWriter.h"
#include "tests/wordhost/HostTestSupport.h"
#include "wordhost/DocumentSniffer.h"
#include "wordhost/EngineError.h"

using wordhost::DocumentFormat;
using wordhost::EngineError;

namespace {

std::string writeFile(const std::string& name, const std::string& bytes) {
    const std::string path = wordhosttest::makeFolder(QStringLiteral("sniff")).toStdString() + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string refusal(const std::string& path) {
    try {
        wordhost::sniffDocument(path, path);
    } catch (const EngineError& error) {
        return error.what();
    }
    return "accepted";
}

}  // namespace

TEST(DocumentSniffer, KnowsWordFormatsByContentNotName) {
    const std::string docx = wordhosttest::makeFolder(QStringLiteral("sniff")).toStdString() + "/named.rtf";
    wordhosttest::writeDocx(docx, wordhosttest::pagedText(1, 1));
    EXPECT_EQ(wordhost::sniffDocument(docx, docx), DocumentFormat::WordprocessingML);
    EXPECT_EQ(wordhost::sniffDocument(writeFile("a.doc", "{\\rtf1\\ansi hello}"), "a.doc"),
              DocumentFormat::Rtf);
    EXPECT_EQ(wordhost::sniffDocument(
                  writeFile("w.xml",
                            "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<w:wordDocument "
                            "xmlns:w=\"http://schemas.microsoft.com/office/word/2003/wordml\"/>"),
                  "w.xml"),
              DocumentFormat::FlatXml);
}

TEST(DocumentSniffer, RefusesWhatIsNotAWordDocument) {
    std::mt19937 random(7);
    std::string noise(4096, '\0');
    for (char& byte : noise) byte = static_cast<char>(random());
    noise[0] = 'x';
    for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
             {"noise.docx", noise},
             {"empty.docx", ""},
             {"plain.docx", "Dear reader,\nthis is plain text.\n"},
             {"page.doc", "<html><body>web page</body></html>"},
             {"other.docx", "<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\"/>"},
             {"broken.docx", std::string("PK\x03\x04", 4) + noise},
             {"ole.doc", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + noise}}) {
        const std::string path = writeFile(name, bytes);
        EXPECT_EQ(refusal(path), "\"" + path + "\" is not a Word document.") << name;
    }
}
