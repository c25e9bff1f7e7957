// The whole conversion of a document through a real engine host: one PCX per page, the
// negative indents repaired, no error, and the document and its folder as they were.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>

#include "conversion/Word1.h"
#include "tests/conversion/ConversionTestWindow.h"
#include "tests/support/DocxWriter.h"
#include "tests/support/HostTestSupport.h"
#include "tests/support/ImageMagick.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/ScratchHome.h"

using namespace wordhosttest;
using namespace testdocx;

namespace {}  // namespace

TEST(ConversionWithTheEngineHost, EveryPageBecomesAPcxAndTheDocumentStaysAsItWas) {
    const QString folder = testsupport::scratchFolder(QStringLiteral("documents"));
    const QString out = testsupport::scratchFolder(QStringLiteral("out"));
    std::vector<Paragraph> paragraphs = pagedText(3, 4);
    paragraphs[0].leftTwips = -720;
    const QString document = folder + QStringLiteral("/report.docx");
    writeDocx(document.toStdString(), paragraphs);
    const auto before = folderSnapshot(folder);

    testsupport::RecordingDialogs dialogs;
    testsupport::ConversionTestWindow window;
    window.outputFolder = out + QLatin1Char('/');
    Word1::SaveDocAsPCX(window, document);

    EXPECT_TRUE(dialogs.errorReports().empty());
    EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("report_1.pcx"), QStringLiteral("report_2.pcx"),
                           QStringLiteral("report_3.pcx")}));
    EXPECT_EQ(window.progressTexts.last(), QStringLiteral("Processing: report.docx (Page 3 of 3)"));
    const QImage first = testsupport::decodeWithImageMagick(out + QStringLiteral("/report_1.pcx"));
    ASSERT_EQ(first.size(), QSize(1275, 1650));
    int left = first.width();
    for (int y = 0; y < first.height() / 4; ++y) {
        for (int x = 0; x < left; ++x) {
            if (qGray(first.pixel(x, y)) < 128) left = x;
        }
    }
    EXPECT_GE(left, 140) << "the negative indent was repaired";
    EXPECT_EQ(folderSnapshot(folder), before);
    EXPECT_EQ(onlyRunningHost(), -1) << "the engine quit";
}
