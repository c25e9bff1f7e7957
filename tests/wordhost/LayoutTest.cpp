// The host lays documents out exactly as the office suite's own PDF export does, but for endnotes,
// which run on after the text as in Word (the suite starts them on a page of their own).
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>

#include "platform/AppError.h"
#include "platform/HostWordFactory.h"
#include "tests/support/DocxWriter.h"
#include "tests/support/ScratchHome.h"
#include "tests/wordhost/HostTestSupport.h"

using namespace wordhosttest;

namespace {

// Converts every document of the test folders to PDF with soffice, one run per folder.
QString exportReferences(const QString& docs, const QStringList& documents) {
    const QString out = makeFolder(QStringLiteral("reference"));
    const QString profile = makeFolder(QStringLiteral("soffice-profile"));
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

// Share of pixels whose colour differs by more than 10 % in some channel.
double differingPixels(const QImage& a, const QImage& b) {
    long differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 25 || std::abs(qGreen(p) - qGreen(q)) > 25 ||
                std::abs(qBlue(p) - qBlue(q)) > 25) {
                ++differing;
            }
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

    auto word = platform::hostWordFactory().createObject();
    int compared = 0;
    for (const QString& document : documents) {
        const int expected = pdfPages(referencePdf(references, docs, document));
        try {
            word->documentsOpen(document);
            word->activeDocumentRepaginate();
            const int pages = word->builtInDocumentProperty(platform::wd::PropertyPages).toInt();
            word->activeDocumentClose(platform::wd::DoNotSaveChanges);
            if (hasEndnotes(document))
                EXPECT_LE(pages, expected) << document.toStdString();  // endnotes on no page of their own
            else
                EXPECT_EQ(pages, expected) << document.toStdString();
            ++compared;
        } catch (const platform::AppError& error) {
            // The host may refuse only what the office suite could not export either.
            EXPECT_EQ(expected, -1) << document.toStdString() << ": " << error.what();
            word = platform::hostWordFactory().createObject();  // the engine may be gone with it
        }
    }
    word->quit();
    EXPECT_GE(compared, documents.size() - 2);

    // Pictures of a sample: the same size and nearly the same pixels as Poppler's own tool draws.
    for (const char* sample : {"python-docx/having-images.docx", "python-docx/tbl-having-applied-style.docx",
                               "mammoth/footnotes.docx"}) {
        const QString document = docs + QLatin1Char('/') + QLatin1String(sample);
        if (!QFileInfo::exists(document)) continue;
        const QString ours = makeFolder(QStringLiteral("ours/") + QFileInfo(document).completeBaseName());
        const QString theirs = makeFolder(QStringLiteral("theirs/") + QFileInfo(document).completeBaseName());
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
