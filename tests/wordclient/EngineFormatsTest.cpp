// What the engine host opens beyond the usual: Word 97 files with stream names in other letter
// case, empty files, Word templates, text in every script; where the engine's defaults would lay
// a document out unlike Word (endnotes, comments); and what an ended program leaves of its hosts.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSet>
#include <QStandardPaths>

#include "platform/ProgramExit.h"
#include "tests/support/ConversionCalls.h"
#include "tests/support/DocxWriter.h"
#include "tests/support/HostTestSupport.h"
#include "tests/support/ScratchHome.h"
#include "tests/support/Word97Copy.h"
#include "wordclient/HostWordFactory.h"

using namespace wordhosttest;
using namespace testdocx;

namespace {

std::unique_ptr<wordclient::WordApplication> openInNewWord(const QString& path) {
    auto word = wordclient::hostWordFactory().createObject();
    word->documentsOpen(path);
    word->activeDocumentRepaginate();
    return word;
}

int pagesOf(wordclient::WordApplication& word) {
    return word.builtInDocumentProperty(wordclient::wd::PropertyPages).toInt();
}

QImage cutEverything(wordclient::WordApplication& word) {
    testsupport::selectToTheEnd(word);
    return testsupport::cutToClipboard(word);
}

QString twoPagesWord97() { return QString::fromStdString(testsupport::twoPagesWord97()); }

// The selected text of each page, first to last, cutting the document page by page.
QStringList pageTexts(wordclient::WordApplication& word) {
    QStringList texts;
    const int pages = pagesOf(word);
    for (int page = 1; page <= pages; ++page) {
        if (page < pages) {
            testsupport::selectFirstPages(word, 1);
        } else {
            testsupport::selectToTheEnd(word);
        }
        texts << word.selectionText();
        word.selectionCut();
    }
    return texts;
}

QString copyWithChanges(const QString& name,
                        const std::vector<std::pair<std::string, std::string>>& changes) {
    const QString path = testsupport::scratchFolder(QStringLiteral("formats")) + QLatin1Char('/') + name;
    return QString::fromStdString(testsupport::word97CopyWithChanges(path.toStdString(), changes));
}

using testsupport::utf16;

}  // namespace

TEST(EngineFormats, AWord97DocumentOpensWhateverTheCaseOfItsStreamNames) {
    for (const auto& [name, changes] :
         std::vector<std::pair<QString, std::vector<std::pair<std::string, std::string>>>>{
             {QStringLiteral("lower.doc"),
              {{utf16("WordDocument"), utf16("worddocument")},
               {utf16("1Table"), utf16("1table")},
               {utf16("Root Entry"), utf16("root entry")}}},
             {QStringLiteral("upper.doc"),
              {{utf16("WordDocument"), utf16("WORDDOCUMENT")},
               {utf16("1Table"), utf16("1TABLE")},
               {utf16("Root Entry"), utf16("ROOT ENTRY")}}}}) {
        auto word = openInNewWord(copyWithChanges(name, changes));
        EXPECT_EQ(pagesOf(*word), 2) << name.toStdString();
        testsupport::selectFirstPages(*word, 1);
        EXPECT_TRUE(word->selectionText().contains(QStringLiteral("first page"))) << name.toStdString();
        word->activeDocumentClose(0);
        word->quit();
    }
}

TEST(EngineFormats, AnEmptyFileIsOneBlankPage) {
    for (const QString& name : {QStringLiteral("new.doc"), QStringLiteral("new.docx")}) {
        const QString path = testsupport::scratchFolder(QStringLiteral("empty")) + QLatin1Char('/') + name;
        QFile(path).open(QIODevice::WriteOnly);
        auto word = openInNewWord(path);
        EXPECT_EQ(pagesOf(*word), 1) << name.toStdString();
        EXPECT_TRUE(word->paragraphIndents().size() == 1) << name.toStdString();
        const QImage page = cutEverything(*word);
        ASSERT_FALSE(page.isNull()) << name.toStdString();
        EXPECT_GT(page.height(), 1000);  // one page, not several
        EXPECT_LT(page.height(), 2000);
        bool blank = true;
        for (int y = 0; y < page.height() && blank; y += 3) {
            for (int x = 0; x < page.width() && blank; x += 3) blank = qGray(page.pixel(x, y)) > 200;
        }
        EXPECT_TRUE(blank) << name.toStdString();
        word->activeDocumentClose(0);
        word->quit();
    }
}

// The engine opens a template as a new document made from it; the host converts that one, and the
// template's file and folder stay as they were.
TEST(EngineFormats, WordTemplatesOpenAsTheDocumentsTheyMake) {
    const QString folder = testsupport::scratchFolder(QStringLiteral("templates"));
    const std::string body =
        paragraph("", "Template page one") + paragraph("<w:pageBreakBefore/>", "Template page two");
    writeDocx((folder + QStringLiteral("/letter.dotx")).toStdString(),
              {{"word/document.xml", documentXml(body)}}, kTemplateMain);
    writeDocx((folder + QStringLiteral("/macros.dotm")).toStdString(),
              {{"word/document.xml", documentXml(body)}}, kMacroTemplateMain);
    ASSERT_TRUE(QFile::copy(twoPagesWord97(), folder + QStringLiteral("/memo.dot")));  // a Word 97 template
    const auto before = folderSnapshot(folder);

    auto word = wordclient::hostWordFactory().createObject();
    for (const auto& [name, firstPage] :
         {std::pair{"letter.dotx", "Template page one"}, std::pair{"macros.dotm", "Template page one"},
          std::pair{"memo.dot", "first page"}}) {
        word->documentsOpen(folder + QLatin1Char('/') + QLatin1String(name));
        word->activeDocumentRepaginate();
        const QStringList pages = pageTexts(*word);
        ASSERT_EQ(pages.size(), 2) << name;
        EXPECT_TRUE(pages[0].contains(QLatin1String(firstPage))) << name;
        word->activeDocumentClose(0);
    }
    word->quit();
    EXPECT_EQ(folderSnapshot(folder), before);
}

// Word runs endnotes on after the last paragraph, the engine by default on a page of their own:
// two pages whose endnotes fit on the second stay two pages, the endnotes on the second.
TEST(EngineFormats, EndnotesRunOnAfterTheLastParagraph) {
    const auto reference = [](int id) {
        return R"(<w:r><w:rPr><w:vertAlign w:val="superscript"/></w:rPr><w:endnoteReference w:id=")" +
               std::to_string(id) + R"("/></w:r>)";
    };
    const std::string body =
        paragraph("", "Text of page one") +
        R"(<w:p><w:pPr><w:pageBreakBefore/></w:pPr><w:r><w:t>Text of page two</w:t></w:r>)" + reference(1) +
        reference(2) + "</w:p>";
    std::string notes =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        R"(<w:endnotes xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
        R"(<w:endnote w:type="separator" w:id="-1"><w:p><w:r><w:separator/></w:r></w:p></w:endnote>)"
        R"(<w:endnote w:type="continuationSeparator" w:id="0"><w:p><w:r><w:continuationSeparator/></w:r></w:p></w:endnote>)";
    for (const char* id : {"1", "2"}) {
        notes += std::string(R"(<w:endnote w:id=")") + id + R"("><w:p><w:r><w:t>Endnote number )" + id +
                 "</w:t></w:r></w:p></w:endnote>";
    }
    notes += "</w:endnotes>";
    const QString path =
        testsupport::scratchFolder(QStringLiteral("endnotes")) + QStringLiteral("/endnotes.docx");
    writeDocx(path.toStdString(), {{"word/document.xml", documentXml(body)}, {"word/endnotes.xml", notes}});

    auto word = openInNewWord(path);
    EXPECT_EQ(pagesOf(*word), 2);
    const QStringList pages = pageTexts(*word);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Text of page two")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Endnote number 1")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Endnote number 2")));
    word->activeDocumentClose(0);
    word->quit();
}

// Comments are not part of Word's page: a page with comments looks as the same page without them
// (the engine's PDF notes would stand as icons beside the text).
TEST(EngineFormats, CommentsLeaveNoMarkOnThePage) {
    const QString folder = testsupport::scratchFolder(QStringLiteral("comments"));
    std::string plain;
    std::string commented;
    std::string comments =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        R"(<w:comments xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)";
    for (int i = 0; i < 4; ++i) {
        const std::string id = std::to_string(i);
        const std::string text = "<w:r><w:t>Paragraph " + id + " with a remark beside it.</w:t></w:r>";
        plain += "<w:p>" + text + "</w:p>";
        commented += R"(<w:p><w:commentRangeStart w:id=")" + id + R"("/>)" + text +
                     R"(<w:commentRangeEnd w:id=")" + id + R"("/><w:r><w:commentReference w:id=")" + id +
                     R"("/></w:r></w:p>)";
        comments += R"(<w:comment w:id=")" + id + R"(" w:author="Reviewer"><w:p><w:r><w:t>Remark )" + id +
                    "</w:t></w:r></w:p></w:comment>";
    }
    comments += "</w:comments>";
    writeDocx((folder + QStringLiteral("/plain.docx")).toStdString(),
              {{"word/document.xml", documentXml(plain)}});
    writeDocx((folder + QStringLiteral("/commented.docx")).toStdString(),
              {{"word/document.xml", documentXml(commented)}, {"word/comments.xml", comments}});

    auto word = wordclient::hostWordFactory().createObject();
    QList<QImage> pages;
    for (const char* name : {"plain.docx", "commented.docx"}) {
        word->documentsOpen(folder + QLatin1Char('/') + QLatin1String(name));
        word->activeDocumentRepaginate();
        pages << cutEverything(*word);
        word->activeDocumentClose(0);
    }
    word->quit();
    ASSERT_FALSE(pages[0].isNull());
    ASSERT_EQ(pages[0].size(), pages[1].size());
    long differing = 0;
    for (int y = 0; y < pages[0].height(); ++y) {
        for (int x = 0; x < pages[0].width(); ++x)
            differing += std::abs(qGray(pages[0].pixel(x, y)) - qGray(pages[1].pixel(x, y))) > 25 ? 1 : 0;
    }
    EXPECT_EQ(differing, 0);
}

// A glyph the fonts lack is drawn as a box; boxes side by side draw a line of ink along the
// whole top and bottom of the text, which no script's letters do.
bool drawnAsBoxes(const QImage& line) {
    const auto ink = [&](int x, int y) { return qGray(line.pixel(x, y)) < 200; };
    int left = line.width();
    int right = -1;
    for (int x = 0; x < line.width(); ++x) {
        for (int y = 0; y < line.height(); ++y) {
            if (ink(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    if (right < left) return false;
    const auto inkShare = [&](int y) {
        int count = 0;
        for (int x = left; x <= right; ++x) count += ink(x, y) || (y > 0 && ink(x, y - 1)) ? 1 : 0;
        return double(count) / double(right - left + 1);
    };
    return inkShare(1) > 0.7 && inkShare(line.height() - 1) > 0.7;
}

TEST(EngineFormats, TextInEveryScriptHasItsGlyphs) {
    const std::vector<std::string> lines = {
        "\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C\xE5\x92\x8C\xE5\xB9\xB3",              // Chinese
        "\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF\xE4\xB8\x96\xE7\x95\x8C",  // Japanese
        "\xEC\x95\x88\xEB\x85\x95\xED\x95\x98\xEC\x84\xB8\xEC\x9A\x94",                          // Korean
        "\xE0\xB8\xAA\xE0\xB8\xA7\xE0\xB8\xB1\xE0\xB8\xAA\xE0\xB8\x94\xE0\xB8\xB5\xE0\xB9\x82\xE0\xB8\xA5\xE0"
        "\xB8\x81",  // Thai
        "\xE0\xA4\xA8\xE0\xA4\xAE\xE0\xA4\xB8\xE0\xA5\x8D\xE0\xA4\xA4\xE0\xA5\x87 "
        "\xE0\xA4\xA6\xE0\xA5\x81\xE0\xA4\xA8\xE0\xA4\xBF\xE0\xA4\xAF\xE0\xA4\xBE",  // Devanagari
        "\xCD\xB8\xCD\xB8\xCD\xB8\xCD\xB8",  // unassigned code points: the box itself, to see the check
                                             // catches it
    };
    std::vector<Paragraph> paragraphs;
    for (const std::string& line : lines) {
        paragraphs.push_back({line, 0, 0, false});
        paragraphs.push_back({"", 0, 0, false});
    }
    const QString path =
        testsupport::scratchFolder(QStringLiteral("scripts")) + QStringLiteral("/scripts.docx");
    writeDocx(path.toStdString(), paragraphs);
    auto word = openInNewWord(path);
    const QImage page = cutEverything(*word);
    word->activeDocumentClose(0);
    word->quit();
    ASSERT_FALSE(page.isNull());
    if (qEnvironmentVariableIsSet("SCRIPTS_PNG")) page.save(qEnvironmentVariable("SCRIPTS_PNG"));

    // The page's lines of ink, top to bottom.
    QList<QImage> inkLines;
    int top = -1;
    for (int y = 0; y <= page.height(); ++y) {
        bool ink = false;
        for (int x = 0; y < page.height() && x < page.width() && !ink; ++x)
            ink = qGray(page.pixel(x, y)) < 200;
        if (ink && top < 0) top = y;
        if (!ink && top >= 0) {
            inkLines.append(page.copy(0, top, page.width(), y - top));
            top = -1;
        }
    }
    ASSERT_EQ(inkLines.size(), int(lines.size()));
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        EXPECT_FALSE(drawnAsBoxes(inkLines[int(i)])) << lines[i];
    EXPECT_TRUE(drawnAsBoxes(inkLines.last())) << "the check sees missing glyphs";
}

// Closing the window ends the program at once (platform::endProgramAtOnce), also in the middle of
// a conversion: the hosts it kills leave no private folder.
TEST(EngineFormats, NoPrivateFolderRemainsWhenTheProgramEndsDuringAConversion) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QString temp = qEnvironmentVariable("TMPDIR", QStringLiteral("/tmp"));
    const auto hostFolders = [&] {
        return QDir(temp).entryList({QStringLiteral("marrowdale-wordhost-*")}, QDir::Dirs);
    };
    const QStringList before = hostFolders();
    EXPECT_EXIT(
        {
            const QString path =
                testsupport::scratchFolder(QStringLiteral("running")) + QStringLiteral("/running.docx");
            writeDocx(path.toStdString(), pagedText(3, 4));
            auto word = openInNewWord(path);
            word->selectionGoTo(wordclient::wd::GoToPage, wordclient::wd::GoToNext, 2);
            if (hostFolders().size() <= before.size()) std::_Exit(3);  // the host's folder is there
            platform::endProgramAtOnce();
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(hostFolders(), before);
}
