#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <stdexcept>

#include "tests/paragraphs/DocxWriter.h"
#include "tests/support/ScratchHome.h"
#include "wordhost/paragraphs/ParagraphModel.h"

using testdocx::documentXml;
using testdocx::numberingXml;
using testdocx::paragraph;
using testdocx::stylesXml;
using wordhost::ParagraphModel;

namespace {

std::string scratchFile(const std::string& name) {
    return testsupport::scratchHome().toStdString() + "/" + name;
}

// Writes a package from the given parts and reads it back as a model.
ParagraphModel modelOf(const testdocx::Parts& parts, const std::string& name = "doc.docx") {
    testdocx::writeDocx(scratchFile(name), parts);
    return ParagraphModel(scratchFile(name));
}

std::vector<double> lefts(const ParagraphModel& model) {
    std::vector<double> values;
    for (const wordhost::Indents& indents : model.indents()) values.push_back(indents.left);
    return values;
}
std::vector<double> rights(const ParagraphModel& model) {
    std::vector<double> values;
    for (const wordhost::Indents& indents : model.indents()) values.push_back(indents.right);
    return values;
}

std::string messageOf(const std::string& path) {
    try {
        ParagraphModel model(path);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "no error";
}

TEST(ParagraphModel, ReadsDirectIndentsInPoints) {
    const ParagraphModel model = modelOf(
        {{"word/document.xml",
          documentXml(
              paragraph(R"(<w:ind w:left="-720" w:right="360"/>)") +
              paragraph(R"(<w:ind w:start="1440" w:end="-180"/>)") +
              paragraph(
                  R"(<w:ind w:left="720" w:hanging="1080"/>)") +  // a hanging indent leaves the left indent
              paragraph(R"(<w:ind w:firstLine="400"/>)") +
              paragraph(R"(<w:ind w:left="0.5in" w:right="-1cm"/>)") + paragraph(""))}});
    EXPECT_EQ(lefts(model), (std::vector<double>{-36, 72, 36, 0, 36, 0}));
    EXPECT_EQ(rights(model)[0], 18);
    EXPECT_EQ(rights(model)[1], -9);
    EXPECT_NEAR(rights(model)[4], -28.35, 0.01);
    EXPECT_FALSE(model.modified());
}

TEST(ParagraphModel, FallsBackThroughTheStyleChainToTheDocumentDefaults) {
    const std::string styles = stylesXml(
        R"(<w:docDefaults><w:pPrDefault><w:pPr><w:ind w:left="100" w:right="60"/></w:pPr></w:pPrDefault></w:docDefaults>)"
        R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/></w:style>)"
        R"(<w:style w:type="paragraph" w:styleId="Quote"><w:basedOn w:val="Normal"/><w:pPr><w:ind w:left="-400"/></w:pPr></w:style>)"
        R"(<w:style w:type="paragraph" w:styleId="Deep"><w:basedOn w:val="Quote"/><w:pPr><w:ind w:right="200"/></w:pPr></w:style>)"
        R"(<w:style w:type="paragraph" w:styleId="LoopA"><w:basedOn w:val="LoopB"/></w:style>)"
        R"(<w:style w:type="paragraph" w:styleId="LoopB"><w:basedOn w:val="LoopA"/></w:style>)"
        R"(<w:style w:type="character" w:styleId="Strong"><w:pPr><w:ind w:left="999"/></w:pPr></w:style>)");
    const ParagraphModel model = modelOf(
        {{"word/styles.xml", styles},
         {"word/document.xml",
          documentXml(paragraph(R"(<w:pStyle w:val="Deep"/>)") +
                      paragraph(R"(<w:pStyle w:val="Deep"/><w:ind w:hanging="300"/>)") + paragraph("") +
                      paragraph(R"(<w:pStyle w:val="NoSuchStyle"/>)") +
                      paragraph(R"(<w:pStyle w:val="Strong"/>)") + paragraph(R"(<w:pStyle w:val="LoopA"/>)") +
                      paragraph(R"(<w:pStyle w:val="Quote"/><w:ind w:left="20"/>)"))}});
    EXPECT_EQ(lefts(model), (std::vector<double>{-20, -20, 5, 5, 5, 5, 1}));
    EXPECT_EQ(rights(model), (std::vector<double>{10, 10, 3, 3, 3, 3, 3}));
}

TEST(ParagraphModel, TakesIndentsFromTheNumberingLevel) {
    const std::string numbering = numberingXml(
        R"(<w:abstractNum w:abstractNumId="0">)"
        R"(<w:lvl w:ilvl="0"><w:pPr><w:ind w:left="720" w:hanging="360"/></w:pPr></w:lvl>)"
        R"(<w:lvl w:ilvl="1"><w:pPr><w:ind w:left="-1440" w:hanging="360"/></w:pPr></w:lvl>)"
        R"(<w:lvl w:ilvl="2"><w:pStyle w:val="ListHeading"/><w:pPr><w:ind w:left="2160"/></w:pPr></w:lvl>)"
        R"(</w:abstractNum>)"
        R"(<w:abstractNum w:abstractNumId="1"><w:numStyleLink w:val="OutlineList"/></w:abstractNum>)"
        R"(<w:num w:numId="1"><w:abstractNumId w:val="0"/></w:num>)"
        R"(<w:num w:numId="2"><w:abstractNumId w:val="0"/>)"
        R"(<w:lvlOverride w:ilvl="0"><w:lvl w:ilvl="0"><w:pPr><w:ind w:left="-360"/></w:pPr></w:lvl></w:lvlOverride></w:num>)"
        R"(<w:num w:numId="3"><w:abstractNumId w:val="1"/></w:num>)");
    const std::string styles = stylesXml(
        R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"/>)"
        R"(<w:style w:type="paragraph" w:styleId="Listed"><w:pPr><w:numPr><w:numId w:val="1"/></w:numPr>)"
        R"(<w:ind w:right="40"/></w:pPr></w:style>)"
        R"(<w:style w:type="paragraph" w:styleId="ListHeading"><w:pPr><w:numPr><w:numId w:val="1"/></w:numPr></w:pPr></w:style>)"
        R"(<w:style w:type="paragraph" w:styleId="Indented"><w:pPr><w:ind w:left="5000"/></w:pPr></w:style>)"
        R"(<w:style w:type="numbering" w:styleId="OutlineList"><w:pPr><w:numPr><w:numId w:val="1"/></w:numPr></w:pPr></w:style>)");
    const ParagraphModel model = modelOf(
        {{"word/styles.xml", styles},
         {"word/numbering.xml", numbering},
         {"word/document.xml",
          documentXml(
              paragraph(R"(<w:numPr><w:ilvl w:val="1"/><w:numId w:val="1"/></w:numPr>)") +
              paragraph(R"(<w:numPr><w:ilvl w:val="0"/><w:numId w:val="2"/></w:numPr>)") +
              paragraph(R"(<w:numPr><w:ilvl w:val="1"/><w:numId w:val="1"/></w:numPr><w:ind w:left="0"/>)") +
              paragraph(R"(<w:pStyle w:val="Indented"/><w:numPr><w:numId w:val="1"/></w:numPr>)") +
              paragraph(R"(<w:pStyle w:val="Listed"/>)") + paragraph(R"(<w:pStyle w:val="ListHeading"/>)") +
              paragraph(R"(<w:pStyle w:val="Listed"/><w:numPr><w:numId w:val="0"/></w:numPr>)") +
              paragraph(R"(<w:numPr><w:ilvl w:val="1"/><w:numId w:val="3"/></w:numPr>)") +
              paragraph(R"(<w:numPr><w:ilvl w:val="0"/><w:numId w:val="77"/></w:numPr>)"))}});
    EXPECT_EQ(lefts(model), (std::vector<double>{-72, -18, 0, 36, 36, 108, 0, -72, 0}));
    EXPECT_EQ(rights(model)[4], 2);
}

TEST(ParagraphModel, CountsTheMainTextOnly) {
    const std::string textBox = R"(<w:r><w:pict><v:shape><v:textbox><w:txbxContent>)" +
                                paragraph(R"(<w:ind w:left="-999"/>)") +
                                R"(</w:txbxContent></v:textbox></v:shape></w:pict></w:r>)";
    const std::string cell = "<w:tc>" + paragraph(R"(<w:ind w:left="-20"/>)", "cell") + "</w:tc>";
    const std::string nested =
        "<w:tc><w:tbl><w:tr>" + cell + cell + "</w:tr></w:tbl>" + paragraph("") + "</w:tc>";
    const std::string body =
        paragraph(R"(<w:ind w:left="20"/>)") + "<w:tbl><w:tblPr/><w:tr>" + cell + nested + "</w:tr></w:tbl>" +
        "<w:p>" + textBox + "</w:p>" + R"(<w:sdt><w:sdtContent>)" + paragraph(R"(<w:ind w:left="40"/>)") +
        R"(</w:sdtContent></w:sdt>)" + R"(<mc:AlternateContent><mc:Choice Requires="w14">)" +
        paragraph(R"(<w:ind w:left="60"/>)") + R"(</mc:Choice><mc:Fallback>)" +
        paragraph(R"(<w:ind w:left="80"/>)") + R"(</mc:Fallback></mc:AlternateContent>)";
    const std::string header =
        R"(<w:hdr xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)" + paragraph("") +
        "</w:hdr>";
    const ParagraphModel model =
        modelOf({{"word/document.xml", documentXml(body)}, {"word/header1.xml", header}});
    EXPECT_EQ(lefts(model), (std::vector<double>{1, -1, -1, -1, 0, 0, 2, 3}));
}

TEST(ParagraphModel, WritesIndentsThatReadBackAndLeavesTheRestAlone) {
    const std::string styles = stylesXml(
        R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:pPr><w:ind w:left="-300"/></w:pPr></w:style>)");
    const std::string body =
        paragraph(R"(<w:spacing w:after="0"/><w:jc w:val="both"/>)") +
        paragraph(
            R"(<w:ind w:left="-720" w:start="-720" w:leftChars="-300" w:right="-100" w:hanging="200"/>)") +
        "<w:p><w:r><w:t xml:space=\"preserve\"> </w:t></w:r></w:p>" +
        paragraph(R"(<w:ind w:left="720" w:right="-100"/>)");
    const std::string header = "<w:hdr>header &amp; footer\r\n</w:hdr>";
    const std::string picture(5000, '\x7f');
    ParagraphModel model = modelOf({{"word/styles.xml", styles},
                                    {"word/document.xml", documentXml(body)},
                                    {"word/header1.xml", header},
                                    {"word/media/image1.png", picture}});
    ASSERT_EQ(lefts(model), (std::vector<double>{-15, -36, -15, 36}));

    model.setLeftIndent(0, 0);
    model.setLeftIndent(1, 0);
    model.setRightIndent(1, 0);
    model.setLeftIndent(2, 0);
    model.setRightIndent(3, 0);
    EXPECT_THROW(model.setLeftIndent(4, 0), std::out_of_range);
    EXPECT_THROW(model.setRightIndent(0, 1e9), std::out_of_range);
    EXPECT_TRUE(model.modified());
    EXPECT_EQ(lefts(model), (std::vector<double>{0, 0, 0, 36}));
    model.saveAs(scratchFile("patched.docx"));

    const ParagraphModel patched(scratchFile("patched.docx"));
    EXPECT_EQ(lefts(patched), (std::vector<double>{0, 0, 0, 36}));
    EXPECT_EQ(rights(patched), (std::vector<double>{0, 0, 0, 0}));

    const testdocx::Parts before = testdocx::readParts(scratchFile("doc.docx"));
    const testdocx::Parts after = testdocx::readParts(scratchFile("patched.docx"));
    ASSERT_EQ(before.size(), after.size());
    for (const auto& [name, data] : before) {
        if (name != "word/document.xml") {
            EXPECT_EQ(after.at(name), data) << name;
        }
    }
    const std::string document = after.at("word/document.xml");
    // The new w:ind stands between w:spacing and w:jc, as the schema orders them.
    EXPECT_THAT(document,
                testing::HasSubstr(R"(<w:spacing w:after="0"/><w:ind w:left="0"/><w:jc w:val="both"/>)"));
    EXPECT_THAT(document,
                testing::HasSubstr(R"(<w:ind w:left="0" w:start="0" w:right="0" w:hanging="200"/>)"));
    EXPECT_THAT(document,
                testing::HasSubstr(
                    R"(<w:p><w:pPr><w:ind w:left="0"/></w:pPr><w:r><w:t xml:space="preserve"> </w:t>)"));
    EXPECT_THAT(document, testing::StartsWith(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"));

    // Writing over the file the model was read from works too: the model holds the package in memory.
    ParagraphModel again(scratchFile("patched.docx"));
    again.setLeftIndent(3, -1);
    again.saveAs(scratchFile("patched.docx"));
    EXPECT_EQ(lefts(ParagraphModel(scratchFile("patched.docx"))), (std::vector<double>{0, 0, 0, -1}));
}

TEST(ParagraphModel, ReadsAndWritesStrictDocuments) {
    const std::string strictStyles =
        R"(<w:styles xmlns:w="http://purl.oclc.org/ooxml/wordprocessingml/main">)"
        R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:pPr><w:ind w:end="-240"/></w:pPr></w:style></w:styles>)";
    ParagraphModel model = modelOf(
        {{"word/styles.xml", strictStyles},
         {"word/document.xml", documentXml(paragraph(R"(<w:ind w:start="-1440"/>)") + paragraph(""), true)}});
    EXPECT_EQ(lefts(model), (std::vector<double>{-72, 0}));
    EXPECT_EQ(rights(model), (std::vector<double>{-12, -12}));
    model.setLeftIndent(0, 0);
    model.setRightIndent(1, 0);
    model.saveAs(scratchFile("strict-patched.docx"));
    const std::string document =
        testdocx::readParts(scratchFile("strict-patched.docx")).at("word/document.xml");
    EXPECT_THAT(document, testing::HasSubstr(R"(<w:ind w:start="0"/>)"));
    EXPECT_THAT(document, testing::HasSubstr(R"(<w:ind w:end="0"/>)"));
    EXPECT_EQ(rights(ParagraphModel(scratchFile("strict-patched.docx"))), (std::vector<double>{-12, 0}));

    const std::string mammoth = testsupport::testDocsDir().toStdString() + "/mammoth/strict-format.docx";
    ASSERT_TRUE(QFile::exists(QString::fromStdString(mammoth)));
    EXPECT_GT(ParagraphModel(mammoth).indents().size(), 0u);
}

TEST(ParagraphModel, SurvivesDeepNesting) {
    // Deeper than any recursive walk over the call stack would survive.
    constexpr int kDepth = 200000;
    std::string body;
    for (int i = 0; i < kDepth; ++i) body += "<w:sdt><w:sdtContent>";
    body += paragraph(R"(<w:ind w:left="-40"/>)");
    for (int i = 0; i < kDepth; ++i) body += "</w:sdtContent></w:sdt>";
    ParagraphModel model = modelOf({{"word/document.xml", documentXml(body)}}, "deep.docx");
    ASSERT_EQ(lefts(model), std::vector<double>{-2});
    model.setLeftIndent(0, 0);
    model.saveAs(scratchFile("deep-patched.docx"));
    EXPECT_EQ(lefts(ParagraphModel(scratchFile("deep-patched.docx"))), std::vector<double>{0});
}

TEST(ParagraphModel, ExplainsWhatIsWrongWithABadFile) {
    EXPECT_THAT(messageOf(scratchFile("missing.docx")), testing::HasSubstr("Cannot read"));

    QFile text(QString::fromStdString(scratchFile("plain.docx")));
    text.open(QIODevice::WriteOnly);
    text.write("This is a text file with a Word name.\n");
    text.close();
    EXPECT_THAT(messageOf(scratchFile("plain.docx")), testing::HasSubstr("not a zip archive"));

    testdocx::writeDocx(scratchFile("nodoc.docx"), {{"word/other.xml", "<x/>"}});
    EXPECT_THAT(messageOf(scratchFile("nodoc.docx")),
                testing::HasSubstr("no document part (word/document.xml)"));

    testdocx::writeDocx(scratchFile("broken.docx"),
                        {{"word/document.xml", documentXml("<w:p>").substr(0, 200)}});
    EXPECT_THAT(messageOf(scratchFile("broken.docx")),
                testing::HasSubstr("word/document.xml is not well-formed XML"));

    testdocx::writeDocx(scratchFile("brokenstyles.docx"), {{"word/document.xml", documentXml(paragraph(""))},
                                                           {"word/styles.xml", "<w:styles"}});
    EXPECT_THAT(messageOf(scratchFile("brokenstyles.docx")),
                testing::HasSubstr("word/styles.xml is not well-formed"));

    ParagraphModel model = modelOf({{"word/document.xml", documentXml(paragraph(""))}});
    EXPECT_THROW(model.saveAs(scratchFile("no/such/folder/out.docx")), std::runtime_error);
}

}  // namespace
