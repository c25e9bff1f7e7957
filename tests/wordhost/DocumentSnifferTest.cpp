#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "tests/support/DocxWriter.h"
#include "tests/support/HostTestSupport.h"
#include "tests/support/ScratchHome.h"
#include "tests/support/Word97Copy.h"
#include "wordhost/DocumentSniffer.h"
#include "wordhost/EngineError.h"

using wordhost::DocumentFormat;
using wordhost::EngineError;

namespace {

std::string writeFile(const std::string& name, const std::string& bytes) {
    const std::string path = testsupport::scratchFolder(QStringLiteral("sniff")).toStdString() + "/" + name;
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
    const std::string docx = testsupport::scratchFolder(QStringLiteral("sniff")).toStdString() + "/named.rtf";
    testdocx::writeDocx(docx, testdocx::pagedText(1, 1));
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

// The committed Word 97 document with its bytes changed, in the sniffing folder.
std::string patchedWord97(const std::string& name,
                          const std::vector<std::pair<std::string, std::string>>& changes) {
    return testsupport::word97CopyWithChanges(
        testsupport::scratchFolder(QStringLiteral("sniff")).toStdString() + "/" + name, changes);
}

using testsupport::utf16;

TEST(DocumentSniffer, LetsTheEngineJudgeEveryWordVersion) {
    // Stream names in other letter case, as some writers spell them.
    const std::string lower = patchedWord97("lower.doc", {{utf16("WordDocument"), utf16("worddocument")},
                                                          {utf16("1Table"), utf16("1table")},
                                                          {utf16("Root Entry"), utf16("root entry")}});
    EXPECT_EQ(wordhost::sniffDocument(lower, lower), DocumentFormat::Word97);
    const std::string upper = patchedWord97("upper.doc", {{utf16("WordDocument"), utf16("WORDDOCUMENT")}});
    EXPECT_EQ(wordhost::sniffDocument(upper, upper), DocumentFormat::Word97);
    // Word 95 (and its East Asian editions): the same container, an older FIB.
    for (const char* ident : {"\xDC\xA5", "\x97\xA6"}) {
        const std::string word95 = patchedWord97(
            "word95.doc",
            {{std::string("\xEC\xA5\xC1\x00", 4), std::string(ident, 2) + std::string("\x65\x00", 2)}});
        EXPECT_EQ(wordhost::sniffDocument(word95, word95), DocumentFormat::Word97);
    }
    // Word 1 and 2: the FIB starts the file itself, no compound file.
    std::string word2(std::string("\xDB\xA5\x2D\x00", 4) + std::string(124, '\0'));
    EXPECT_EQ(wordhost::sniffDocument(writeFile("word2.doc", word2), "word2.doc"), DocumentFormat::Word2);
    word2[11] = 0x01;  // fEncrypted
    EXPECT_EQ(refusal(writeFile("locked2.doc", word2)),
              "The document \"" + testsupport::scratchFolder(QStringLiteral("sniff")).toStdString() +
                  "/locked2.doc\" is protected by a password and cannot be opened.");
    EXPECT_EQ(wordhost::sniffDocument(writeFile("new.doc", ""), "new.doc"), DocumentFormat::Empty);
}

TEST(DocumentSniffer, RefusesWhatIsNotAWordDocument) {
    std::mt19937 random(7);
    std::string noise(4096, '\0');
    for (char& byte : noise) byte = static_cast<char>(random());
    noise[0] = 'x';
    for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
             {"noise.docx", noise},
             {"plain.docx", "Dear reader,\nthis is plain text.\n"},
             {"page.doc", "<html><body>web page</body></html>"},
             {"other.docx", "<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\"/>"},
             {"broken.docx", std::string("PK\x03\x04", 4) + noise},
             {"ole.doc", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + noise}}) {
        const std::string path = writeFile(name, bytes);
        EXPECT_EQ(refusal(path), "\"" + path + "\" is not a Word document.") << name;
    }
}
