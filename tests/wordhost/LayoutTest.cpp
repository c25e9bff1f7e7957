// The host lays documents out exactly as the office suite's own PDF export does, but for endnotes,
// which run on after the text as in Word (the suite starts them on a page of their own).
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <algorithm>

#include "platform/AppError.h"
#include "tests/support/DocxWriter.h"
#include "tests/support/HostTestSupport.h"
#include "tests/support/ScratchHome.h"
#include "wordclient/HostWordFactory.h"

using namespace wordhosttest;

namespace {

// Converts every document of the test folders to PDF with soffice, one run per folder.
QString exportReferences(const QString& docs, const QStringList& documents) {
    const QString out = testsupport::scratchFolder(QStringLiteral("reference"));
    const QString profile = testsupport::scratchFolder(QStringLiteral("soffice-profile"));
    QDir().mkpath(profile + QStringLiteral("/user"));
    QFile settings(profile + QStringLiteral("/user/registrymodifications.xcu"));
    if (settings.open(QIODevice::WriteOnly)) {  // skips the first-start graphics tests
        settings.write(R"(<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry"><item oor:path="/org.openoffice.Setup/Product"><prop oor:name="ooSetupLastVersion" oor:op="fuse"><value>99.9</value></prop></item></oor:items>
)");
        settings.close();
    }
    QMap<QString, QStringList> byFolder;
    for (const QString& document : documents) byFolder[QFileInfo(document).path()] << document;
    for (auto it = byFolder.cbegin(); it != byFolder.cend(); ++it) {
        const QString target = out + QLatin1Char('/') + QDir(docs).relativeFilePath(it.key());
        QDir().mkpath(target);
        QString command =
            QStringLiteral(
                "soffice -env:UserInstallation=file://%1 --headless --convert-to pdf --outdir '%2'")
                .arg(profile, target);
        for (const QString& document : it.value()) command += QStringLiteral(" '%1'").arg(document);
        QString output;
        runShell(command, &output);
    }
    return out;
}

QString referencePdf(const QString& references, const QString& docs, const QString& document) {
    const QFileInfo info(QDir(docs).relativeFilePath(document));
    return references + QLatin1Char('/') + info.path() + QLatin1Char('/') + info.completeBaseName() +
           QStringLiteral(".pdf");
}

int pdfPages(const QString& pdf) {
    QString output;
    if (runShell(QStringLiteral("pdfinfo '%1'").arg(pdf), &output) != 0) return -1;
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(output);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Share of our pixels whose colour lies more than 10 % outside what the reference shows within one
// pixel around the same place, in some channel. Two rasterisers shade the edges of a glyph
// differently (the coverage of a pixel, not where the glyph stands), so a pixel is compared with
// its neighbourhood; a page drawn two pixels off, at another scale, with swapped channels or
// other content still differs in far more pixels than the limit.
double differingPixels(const QImage& ours, const QImage& reference) {
    const QImage a = ours.convertToFormat(QImage::Format_RGB32);
    const QImage b = reference.convertToFormat(QImage::Format_RGB32);
    long differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
            for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, b.height() - 1); ++ny) {
                for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, b.width() - 1); ++nx) {
                    const QRgb q = b.pixel(nx, ny);
                    const int channels[3] = {qRed(q), qGreen(q), qBlue(q)};
                    for (int c = 0; c < 3; ++c) {
                        low[c] = std::min(low[c], channels[c]);
                        high[c] = std::max(high[c], channels[c]);
                    }
                }
            }
            const QRgb p = a.pixel(x, y);
            const int channels[3] = {qRed(p), qGreen(p), qBlue(p)};
            bool outside = false;
            for (int c = 0; c < 3; ++c) outside |= channels[c] < low[c] - 25 || channels[c] > high[c] + 25;
            differing += outside ? 1 : 0;
        }
    }
    return double(differing) / double(a.width() * a.height());
}

// A package with endnotes of its own (not only the separators every endnotes part holds).
bool hasEndnotes(const QString& document) {
    try {
        const testdocx::Parts parts = testdocx::readParts(document.toStdString());
        const auto notes = parts.find("word/endnotes.xml");
        return notes != parts.end() && QRegularExpression(QStringLiteral("<w:endnote (?![^>]*w:type=)"))
                                           .match(QString::fromStdString(notes->second))
                                           .hasMatch();
    } catch (const std::exception&) {
        return false;  // a .doc
    }
}

}  // namespace

TEST(WordHostLayout, PageCountsAndPagesMatchTheOfficeSuitesOwnExport) {
    const QString docs = testsupport::testDocsDir();
    ASSERT_TRUE(QFileInfo(docs).isDir()) << docs.toStdString();
    QStringList documents;
    for (QDirIterator it(docs, {QStringLiteral("*.docx"), QStringLiteral("*.doc")}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        documents << it.next();
    }
    documents.sort();
    ASSERT_GE(documents.size(), 10);
    const QString references = exportReferences(docs, documents);

    auto word = wordclient::hostWordFactory().createObject();
    int compared = 0;
    for (const QString& document : documents) {
        const int expected = pdfPages(referencePdf(references, docs, document));
        try {
            word->documentsOpen(document);
            word->activeDocumentRepaginate();
            const int pages = word->builtInDocumentProperty(wordclient::wd::PropertyPages).toInt();
            word->activeDocumentClose(wordclient::wd::DoNotSaveChanges);
            if (hasEndnotes(document))
                EXPECT_LE(pages, expected) << document.toStdString();  // endnotes on no page of their own
            else
                EXPECT_EQ(pages, expected) << document.toStdString();
            ++compared;
        } catch (const platform::AppError& error) {
            // The host may refuse only what the office suite could not export either.
            EXPECT_EQ(expected, -1) << document.toStdString() << ": " << error.what();
            word = wordclient::hostWordFactory().createObject();  // the engine may be gone with it
        }
    }
    word->quit();
    EXPECT_GE(compared, documents.size() - 2);

    // Pictures of a sample: the same size and nearly the same pixels as Poppler's own tool draws
    // (another rasteriser, so the comparison checks the page's content and place, not its shading).
    for (const char* sample : {"python-docx/having-images.docx", "python-docx/tbl-having-applied-style.docx",
                               "mammoth/footnotes.docx"}) {
        const QString document = docs + QLatin1Char('/') + QLatin1String(sample);
        if (!QFileInfo::exists(document)) continue;
        const QString ours =
            testsupport::scratchFolder(QStringLiteral("ours/") + QFileInfo(document).completeBaseName());
        const QString theirs =
            testsupport::scratchFolder(QStringLiteral("theirs/") + QFileInfo(document).completeBaseName());
        QString output;
        ASSERT_EQ(runShell(QStringLiteral("'%1/marrowdale-wordhost' --render '%2' '%3'")
                               .arg(testsupport::programDir(), document, ours),
                           &output),
                  0)
            << output.toStdString();
        const int pages = output.trimmed().split(QLatin1Char('\n')).last().toInt();
        EXPECT_EQ(pages, pdfPages(referencePdf(references, docs, document))) << sample;
        ASSERT_EQ(runShell(QStringLiteral("pdftoppm -r 150 -png '%1' '%2/page'")
                               .arg(referencePdf(references, docs, document), theirs)),
                  0);
        const QStringList drawn = QDir(theirs).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
        ASSERT_EQ(drawn.size(), pages) << sample;
        for (int page = 1; page <= pages; ++page) {
            const QImage mine(ours + QStringLiteral("/page-%1.png").arg(page));
            const QImage reference(theirs + QLatin1Char('/') + drawn[page - 1]);
            ASSERT_FALSE(mine.isNull()) << sample << " page " << page;
            ASSERT_EQ(mine.size(), reference.size()) << sample << " page " << page;
            EXPECT_LT(differingPixels(mine, reference), 0.002) << sample << " page " << page;
        }
    }
}
