// The negative-indent repair of a conversion, made in the loaded document: the pages come out as
// the engine lays the document out with those indents at 0, and nothing is saved or loaded again.
#include <gtest/gtest.h>

#include <QDir>

#include "conversion/Word1.h"
#include "protocol/HostRegistry.h"
#include "tests/conversion/ConversionTestWindow.h"
#include "tests/support/DocxWriter.h"
#include "tests/support/HostTestSupport.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/ScratchHome.h"
#include "wordclient/HostWordFactory.h"

using namespace testdocx;

namespace {

// Flowing text whose paragraphs stand out into the margins in every way Word knows: direct left
// and right indents, a paragraph style, a list level, table cells. `indent` is the amount (twips).
Parts outdentedDocument(int indent) {
    const std::string text =
        "Text that flows from line to line, so that wider lines make fewer pages of this document. ";
    std::string lines;
    for (int i = 0; i < 5; ++i) lines += text;
    const std::string by = std::to_string(indent);
    const std::string half = std::to_string(indent / 2);
    std::string body;
    for (int block = 0; block < 12; ++block) {
        body += paragraph("<w:ind w:left=\"" + by + "\"/>", lines) +
                paragraph("<w:ind w:right=\"" + by + "\"/>", lines) +
                paragraph(R"(<w:pStyle w:val="Outdented"/>)", lines) +
                paragraph(R"(<w:numPr><w:ilvl w:val="0"/><w:numId w:val="1"/></w:numPr>)", lines) +
                "<w:tbl><w:tblPr><w:tblW w:w=\"5000\" w:type=\"pct\"/></w:tblPr><w:tr><w:tc>" +
                paragraph("<w:ind w:left=\"" + half + "\" w:right=\"" + half + "\"/>", lines) +
                "</w:tc></w:tr></w:tbl>";
    }
    return {
        {"word/document.xml", documentXml(body)},
        {"word/styles.xml",
         stylesXml(
             R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/></w:style>)"
             R"(<w:style w:type="paragraph" w:styleId="Outdented"><w:name w:val="Outdented"/><w:basedOn w:val="Normal"/>)"
             "<w:pPr><w:ind w:left=\"" +
             by + "\" w:right=\"" + by + "\"/></w:pPr></w:style>")},
        {"word/numbering.xml",
         numberingXml(
             R"(<w:abstractNum w:abstractNumId="0"><w:lvl w:ilvl="0"><w:start w:val="1"/><w:numFmt w:val="decimal"/>)"
             R"(<w:lvlText w:val="%1."/><w:pPr><w:ind w:left=")" +
             (indent < 0 ? by : std::string("360")) +
             R"(" w:hanging="360"/></w:pPr></w:lvl></w:abstractNum><w:num w:numId="1"><w:abstractNumId w:val="0"/></w:num>)")}};
}

int enginePageCount(const std::string& path) {
    auto word = wordclient::hostWordFactory().createObject();
    word->documentsOpen(QString::fromStdString(path));
    word->activeDocumentRepaginate();
    const int pages = word->builtInDocumentProperty(wordclient::wd::PropertyPages).toInt();
    word->activeDocumentClose(0);
    word->quit();
    return pages;
}

// The files of the open document in the host's private folder (the copy and its layouts).
QStringList documentFiles(pid_t host) {
    const QString folder = QString::fromStdString(protocol::privateFolderOfHost(host));
    QStringList files;
    for (const QString& sub : QDir(folder).entryList({QStringLiteral("document-*")}, QDir::Dirs))
        files += QDir(folder + QLatin1Char('/') + sub).entryList(QDir::Files, QDir::Name);
    return files;
}

}  // namespace

// Repairs every negative indent as the conversion does before a page.
void repair(wordclient::WordApplication& word) {
    const std::vector<wordclient::ParagraphIndents> indents = word.paragraphIndents();
    for (std::size_t i = 0; i < indents.size(); ++i) {
        if (indents[i].left < 0) word.setLeftIndent(int(i), word.centimetersToPoints(0));
        if (indents[i].right < 0) word.setRightIndent(int(i), word.centimetersToPoints(0));
    }
}

TEST(IndentRepair, TheRepairedDocumentHasThePagesOfTheDocumentWithItsIndentsAtZero) {
    const QString folder = testsupport::scratchFolder(QStringLiteral("repair"));
    const std::string outdented = (folder + QStringLiteral("/outdented.docx")).toStdString();
    const std::string atZero = (folder + QStringLiteral("/at zero.docx")).toStdString();
    writeDocx(outdented, outdentedDocument(-1440));
    writeDocx(atZero, outdentedDocument(0));
    const int expected = enginePageCount(atZero);
    const int unrepaired = enginePageCount(outdented);
    ASSERT_LT(unrepaired, expected) << "the indents must matter to the layout";

    // Page by page, as the conversion takes the document apart.
    auto word = wordclient::hostWordFactory().createObject();
    word->documentsOpen(QString::fromStdString(outdented));
    repair(*word);
    EXPECT_EQ(word->builtInDocumentProperty(wordclient::wd::PropertyPages).toInt(), expected);
    int cut = 0;
    while (word->builtInDocumentProperty(wordclient::wd::PropertyPages).toInt() > 1 && cut < 50) {
        repair(*word);  // nothing is negative any more
        word->selectionGoTo(wordclient::wd::GoToPage, wordclient::wd::GoToNext, 2);
        for (int i = 0; i < 100; ++i)
            word->selectionMoveUp(wordclient::wd::Line, 200, wordclient::wd::Extend);
        word->selectionCut();
        ++cut;
    }
    EXPECT_EQ(cut + 1, expected);
    word->activeDocumentClose(0);
    word->quit();

    // The whole conversion: the page count it reads comes before the repair, and its last pass
    // takes the rest, without an error on the way.
    const QString out = testsupport::scratchFolder(QStringLiteral("repair-out"));
    testsupport::RecordingDialogs dialogs;
    testsupport::ConversionTestWindow window;
    window.outputFolder = out + QLatin1Char('/');
    Word1::SaveDocAsPCX(window, QString::fromStdString(outdented));
    EXPECT_TRUE(dialogs.errorReports().empty());
    EXPECT_EQ(QDir(out).entryList({QStringLiteral("*.pcx")}, QDir::Files).size(), unrepaired);
}

TEST(IndentRepair, RepairsTheLoadedDocumentAndLaysItOutOnce) {
    const QString folder = testsupport::scratchFolder(QStringLiteral("repair-once"));
    const std::string outdented = (folder + QStringLiteral("/outdented.docx")).toStdString();
    writeDocx(outdented, outdentedDocument(-1440));
    auto word = wordclient::hostWordFactory().createObject();
    const pid_t host = wordhosttest::onlyRunningHost();
    ASSERT_GT(host, 0);
    word->documentsOpen(QString::fromStdString(outdented));
    word->activeDocumentRepaginate();
    EXPECT_GT(word->builtInDocumentProperty(wordclient::wd::PropertyPages).toInt(), 1);
    const std::vector<wordclient::ParagraphIndents> indents = word->paragraphIndents();
    int negative = 0;
    for (std::size_t i = 0; i < indents.size(); ++i) {
        if (indents[i].left < 0) word->setLeftIndent(int(i), word->centimetersToPoints(0)), ++negative;
        if (indents[i].right < 0) word->setRightIndent(int(i), word->centimetersToPoints(0)), ++negative;
    }
    EXPECT_EQ(negative, 12 * 7);
    word->selectionGoTo(wordclient::wd::GoToPage, wordclient::wd::GoToNext, 2);
    // The private copy and one layout: no patched package, no second load, no export before the repair.
    EXPECT_EQ(documentFiles(host),
              (QStringList{QStringLiteral("layout-1.pdf"), QStringLiteral("outdented.docx")}));
    for (const wordclient::ParagraphIndents& repaired : word->paragraphIndents()) {
        EXPECT_GE(repaired.left, 0);
        EXPECT_GE(repaired.right, 0);
    }
    word->activeDocumentClose(0);
    word->quit();
}

// The page count read before the first layout comes from the engine itself; it must be the
// layout's, also where the engine inserts blank pages that the layout leaves out.
TEST(IndentRepair, ThePageCountBeforeTheFirstLayoutIsTheLayoutsOwn) {
    const auto section = [](const char* start) {
        return std::string(R"(<w:p><w:pPr><w:sectPr><w:type w:val=")") + start +
               R"("/><w:pgSz w:w="12240" w:h="15840"/></w:sectPr></w:pPr></w:p>)";
    };
    const std::string body = paragraph("", "Section one") + section("nextPage") +
                             paragraph("", "Section two") + section("oddPage") +
                             paragraph("", "Section three");
    const QString path =
        testsupport::scratchFolder(QStringLiteral("odd-pages")) + QStringLiteral("/odd pages.docx");
    writeDocx(path.toStdString(), {{"word/document.xml", documentXml(body)}});
    auto word = wordclient::hostWordFactory().createObject();
    word->documentsOpen(path);
    word->activeDocumentRepaginate();
    const int counted = word->builtInDocumentProperty(wordclient::wd::PropertyPages).toInt();
    word->selectionGoTo(wordclient::wd::GoToPage, wordclient::wd::GoToNext, 2);  // lays the document out
    EXPECT_EQ(word->builtInDocumentProperty(wordclient::wd::PropertyPages).toInt(), counted);
    EXPECT_EQ(counted, 3);
    word->activeDocumentClose(0);
    word->quit();
}
