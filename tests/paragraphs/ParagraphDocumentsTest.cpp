// The paragraph model on real documents: other projects' Word files, and a patched document laid out
// by LibreOffice.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <cmath>
#include <stdexcept>

#include "tests/paragraphs/DocxWriter.h"
#include "tests/support/ScratchHome.h"
#include "wordhost/paragraphs/ParagraphModel.h"

using wordhost::ParagraphModel;

namespace {

// Sets every negative indent to 0, as the conversion does before each page.
void clearNegativeIndents(ParagraphModel& model) {
    for (std::size_t i = 0; i < model.indents().size(); ++i) {
        if (model.indents()[i].left < 0) model.setLeftIndent(i, 0);
        if (model.indents()[i].right < 0) model.setRightIndent(i, 0);
    }
}

bool isZip(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(4) == QByteArray("PK\x03\x04", 4);
}

TEST(ParagraphDocuments, ReadsEveryTestDocumentAndPatchesItCleanly) {
    const QString folder = testsupport::testDocsDir();
    if (!QDir(folder).exists()) GTEST_SKIP() << "no test documents at " << folder.toStdString();
    int read = 0, withParagraphs = 0, withNegative = 0;
    QDirIterator files(folder, {QStringLiteral("*.docx"), QStringLiteral("*.docm"), QStringLiteral("*.dotx")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const std::string name = QDir(folder).relativeFilePath(path).toStdString();
        try {
            ParagraphModel model(path.toStdString());
            ++read;
            if (!model.indents().empty()) ++withParagraphs;
            bool negative = false;
            for (const wordhost::Indents& indents : model.indents()) {
                EXPECT_TRUE(std::isfinite(indents.left) && std::fabs(indents.left) <= 1584) << name;
                EXPECT_TRUE(std::isfinite(indents.right) && std::fabs(indents.right) <= 1584) << name;
                negative = negative || indents.left < 0 || indents.right < 0;
            }
            withNegative += negative ? 1 : 0;
            const std::size_t count = model.indents().size();
            clearNegativeIndents(model);
            const std::string copy =
                (testsupport::scratchHome() + QStringLiteral("/copy.docx")).toStdString();
            model.saveAs(copy);
            const ParagraphModel patched(copy);
            ASSERT_EQ(patched.indents().size(), count) << name;
            for (const wordhost::Indents& indents : patched.indents()) {
                EXPECT_GE(indents.left, 0) << name;
                EXPECT_GE(indents.right, 0) << name;
            }
        } catch (const std::runtime_error& error) {
            // Only files that are no Word package at all may fail.
            const std::string message = error.what();
            EXPECT_TRUE(!isZip(path) || message.find("no document part") != std::string::npos)
                << name << ": " << message;
        }
    }
    std::printf("read %d documents, %d with paragraphs, %d with negative indents\n", read, withParagraphs,
                withNegative);
    EXPECT_GE(read, 50);
    EXPECT_GE(withParagraphs, read - 5);
}

// The leftmost column with ink on the first page of a PDF, at 50 dpi.
int leftmostInk(const QString& pdf) {
    const QString prefix = pdf + QStringLiteral("-page");
    QProcess::execute(
        QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-gray"), QStringLiteral("-f"),
         QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), pdf, prefix});
    const QImage page(prefix + QStringLiteral("-1.pgm"));
    if (page.isNull()) return -1;
    for (int x = 0; x < page.width(); ++x) {
        for (int y = 0; y < page.height(); ++y) {
            if (qGray(page.pixel(x, y)) < 128) return x;
        }
    }
    return page.width();
}

TEST(ParagraphDocuments, LibreOfficeLaysThePatchedDocumentOutInsideTheMargin) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) {
        GTEST_SKIP() << "needs soffice and pdftoppm";
    }
    const QString dir = testsupport::scratchHome() + QStringLiteral("/layout");
    QDir().mkpath(dir);
    const std::string text =
        "Negative indents push this text into the left margin of the page, "
        "past where the margin should stop it. ";
    const std::string body =
        testdocx::paragraph("", "An ordinary paragraph.") +
        testdocx::paragraph(R"(<w:ind w:left="-1080" w:right="-720"/>)", text + text + text) +
        "<w:tbl><w:tblPr><w:tblW w:w=\"5000\" w:type=\"pct\"/></w:tblPr><w:tr><w:tc>" +
        testdocx::paragraph(R"(<w:ind w:left="-1080" w:hanging="0"/>)", text) + "</w:tc></w:tr></w:tbl>" +
        testdocx::paragraph("", "The end.");
    const std::string original = (dir + QStringLiteral("/original.docx")).toStdString();
    testdocx::writeDocx(original, {{"word/document.xml", testdocx::documentXml(body)}});
    ParagraphModel model(original);
    clearNegativeIndents(model);
    model.saveAs((dir + QStringLiteral("/patched.docx")).toStdString());

    QProcess office;
    office.setWorkingDirectory(dir);
    office.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + dir + QStringLiteral("/lo"),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                           QStringLiteral("pdf"), QStringLiteral("--outdir"), dir,
                           dir + QStringLiteral("/original.docx"), dir + QStringLiteral("/patched.docx")});
    ASSERT_TRUE(office.waitForFinished(180000)) << "LibreOffice did not finish";

    constexpr int kMargin = 50;  // one inch at 50 dpi
    const int before = leftmostInk(dir + QStringLiteral("/original.pdf"));
    const int after = leftmostInk(dir + QStringLiteral("/patched.pdf"));
    ASSERT_GE(before, 0) << "no PDF of the original";
    ASSERT_GE(after, 0) << "no PDF of the patched document";
    EXPECT_LT(before, kMargin - 10);
    EXPECT_GE(after, kMargin - 1);
    EXPECT_LT(after, kMargin + 10);  // still text at the margin, not an empty page
}

}  // namespace
