// The paragraphs of a document and their indents as the engine host reports them: in points, as
// the layout uses them (direct formatting, style chain, list level, defaults), main text and
// table cells only, and writes that read back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>

#include "platform/AppError.h"
#include "tests/support/DocxWriter.h"
#include "tests/support/HostTestSupport.h"
#include "tests/support/ScratchHome.h"
#include "wordclient/HostWordFactory.h"

using namespace testdocx;

namespace {

struct Indents {
    std::vector<double> left;
    std::vector<double> right;
};

class EngineParagraphs : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { word_ = wordclient::hostWordFactory().createObject(); }
    static void TearDownTestSuite() {
        if (word_) word_->quit();
        word_.reset();
    }

    // Opens the document in the shared engine and reads its paragraphs' indents.
    static Indents open(const std::string& name, const Parts& parts) {
        const std::string path =
            testsupport::scratchFolder(QStringLiteral("paragraphs")).toStdString() + "/" + name;
        writeDocx(path, parts);
        return openFile(path);
    }
    static Indents openFile(const std::string& path) {
        word_->documentsOpen(QString::fromStdString(path));
        return read();
    }
    static Indents read() {
        Indents indents;
        for (const wordclient::ParagraphIndents& paragraph : word_->paragraphIndents()) {
            indents.left.push_back(paragraph.left);
            indents.right.push_back(paragraph.right);
        }
        return indents;
    }
    static void close() { word_->activeDocumentClose(0); }

    static std::unique_ptr<wordclient::WordApplication> word_;
};

std::unique_ptr<wordclient::WordApplication> EngineParagraphs::word_;

TEST_F(EngineParagraphs, ReadsDirectIndentsInPointsAsWordReportsThem) {
    const Indents indents = open(
        "direct.docx",
        {{"word/document.xml",
          documentXml(
              paragraph(R"(<w:ind w:left="-720" w:right="360"/>)") +
              paragraph(R"(<w:ind w:start="1440" w:end="-180"/>)") +
              paragraph(R"(<w:ind w:left="720" w:hanging="1080"/>)") +  // the hanging part is no left indent
              paragraph(R"(<w:ind w:firstLine="400"/>)") + paragraph(R"(<w:ind w:left="-1"/>)") +
              paragraph(""))}});
    EXPECT_EQ(indents.left, (std::vector<double>{-36, 72, 36, 0, -0.05, 0}));
    EXPECT_EQ(indents.right, (std::vector<double>{18, -9, 0, 0, 0, 0}));
    close();
}

TEST_F(EngineParagraphs, FallsBackThroughTheStyleChainToTheDocumentDefaults) {
    const std::string styles = stylesXml(
        R"(<w:docDefaults><w:pPrDefault><w:pPr><w:ind w:left="100" w:right="60"/></w:pPr></w:pPrDefault></w:docDefaults>)"
        R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/></w:style>)"
        R"(<w:style w:type="paragraph" w:styleId="Quote"><w:name w:val="Quote"/><w:basedOn w:val="Normal"/><w:pPr><w:ind w:left="-400"/></w:pPr></w:style>)"
        R"(<w:style w:type="paragraph" w:styleId="Deep"><w:name w:val="Deep"/><w:basedOn w:val="Quote"/><w:pPr><w:ind w:right="200"/></w:pPr></w:style>)");
    const Indents indents = open(
        "styles.docx",
        {{"word/styles.xml", styles},
         {"word/document.xml", documentXml(paragraph(R"(<w:pStyle w:val="Deep"/>)") + paragraph("") +
                                           paragraph(R"(<w:pStyle w:val="NoSuchStyle"/>)") +
                                           paragraph(R"(<w:pStyle w:val="Quote"/><w:ind w:left="20"/>)"))}});
    EXPECT_EQ(indents.left, (std::vector<double>{-20, 5, 5, 1}));
    EXPECT_EQ(indents.right, (std::vector<double>{10, 3, 3, 3}));
    close();
}

TEST_F(EngineParagraphs, TakesTheLeftIndentFromTheListLevelUnlessSetDirectly) {
    const std::string numbering = numberingXml(
        R"(<w:abstractNum w:abstractNumId="0">)"
        R"(<w:lvl w:ilvl="0"><w:start w:val="1"/><w:numFmt w:val="decimal"/><w:lvlText w:val="%1."/><w:pPr><w:ind w:left="720" w:hanging="360"/></w:pPr></w:lvl>)"
        R"(<w:lvl w:ilvl="1"><w:start w:val="1"/><w:numFmt w:val="decimal"/><w:lvlText w:val="%2."/><w:pPr><w:ind w:left="-1440" w:hanging="360"/></w:pPr></w:lvl>)"
        R"(</w:abstractNum><w:num w:numId="1"><w:abstractNumId w:val="0"/></w:num>)");
    const Indents indents = open(
        "numbering.docx",
        {{"word/numbering.xml", numbering},
         {"word/document.xml",
          documentXml(
              paragraph(R"(<w:numPr><w:ilvl w:val="1"/><w:numId w:val="1"/></w:numPr>)") +
              paragraph(R"(<w:numPr><w:ilvl w:val="0"/><w:numId w:val="1"/></w:numPr>)") +
              paragraph(R"(<w:numPr><w:ilvl w:val="1"/><w:numId w:val="1"/></w:numPr><w:ind w:left="0"/>)") +
              paragraph(""))}});
    EXPECT_EQ(indents.left, (std::vector<double>{-72, 36, 0, 0}));
    // A repaired list paragraph keeps its place in the list with the level's hanging indent.
    word_->setLeftIndent(0, word_->centimetersToPoints(0));
    EXPECT_EQ(read().left, (std::vector<double>{0, 36, 0, 0}));
    close();
}

TEST_F(EngineParagraphs, CountsTheMainTextWithItsTableCellsOnly) {
    const std::string cell = "<w:tc>" + paragraph(R"(<w:ind w:left="-20"/>)", "cell") + "</w:tc>";
    const std::string nested =
        "<w:tc><w:tbl><w:tr>" + cell + cell + "</w:tr></w:tbl>" + paragraph("") + "</w:tc>";
    const std::string header =
        R"(<w:hdr xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)" +
        paragraph(R"(<w:ind w:left="-999"/>)") + "</w:hdr>";
    const Indents indents = open(
        "tables.docx", {{"word/document.xml",
                         documentXml(paragraph(R"(<w:ind w:left="20"/>)") + "<w:tbl><w:tblPr/><w:tr>" + cell +
                                     nested + "</w:tr></w:tbl>" + paragraph(R"(<w:ind w:left="40"/>)"))},
                        {"word/header1.xml", header}});
    EXPECT_EQ(indents.left, (std::vector<double>{1, -1, -1, -1, 0, 2}));
    close();
}

TEST_F(EngineParagraphs, ReadsStrictDocuments) {
    const std::string strictStyles =
        R"(<w:styles xmlns:w="http://purl.oclc.org/ooxml/wordprocessingml/main">)"
        R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/><w:pPr><w:ind w:end="-240"/></w:pPr></w:style></w:styles>)";
    const Indents indents = open(
        "strict.docx",
        {{"word/styles.xml", strictStyles},
         {"word/document.xml", documentXml(paragraph(R"(<w:ind w:start="-1440"/>)") + paragraph(""), true)}});
    EXPECT_EQ(indents.left, (std::vector<double>{-72, 0}));
    EXPECT_EQ(indents.right, (std::vector<double>{-12, -12}));
    close();
}

TEST_F(EngineParagraphs, WritesIndentsThatReadBackInEveryFormat) {
    // RTF: the engine's own reader, no WordprocessingML at all.
    const std::string rtf = testsupport::scratchFolder(QStringLiteral("rtf")).toStdString() + "/indents.rtf";
    QFile file(QString::fromStdString(rtf));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1\\ansi\\pard\\li-720\\ri360 First.\\par\\pard\\li360\\ri-180 Second.\\par}");
    file.close();
    Indents indents = openFile(rtf);
    EXPECT_EQ(indents.left, (std::vector<double>{-36, 18}));
    EXPECT_EQ(indents.right, (std::vector<double>{18, -9}));
    word_->setLeftIndent(0, word_->centimetersToPoints(0));
    word_->setRightIndent(1, word_->centimetersToPoints(0));
    EXPECT_THAT([&] { word_->setLeftIndent(2, 0); }, ::testing::Throws<platform::AppError>());
    indents = read();
    EXPECT_EQ(indents.left, (std::vector<double>{0, 18}));
    EXPECT_EQ(indents.right, (std::vector<double>{18, 0}));
    close();
    // The document's file is only read: the repair lives in the engine alone.
    EXPECT_EQ(openFile(rtf).left, (std::vector<double>{-36, 18}));
    close();
}

}  // namespace
