// Every sample document goes through the document engine: the host lays it out and renders its pages.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <map>

#include "tests/support/QtPrinters.h"
#include "tests/support/ScratchHome.h"

namespace {

TEST(SampleDocuments, EverySampleRendersWithItsPages) {
    const std::map<QString, int> expectedPages{
        {QStringLiteral("Sample-Letter.docx"), 1},
        {QStringLiteral("Sample-Memo.doc"), 1},
        {QStringLiteral("Sample-Report.docx"), 3},
    };
    const QDir samples(testsupport::programDir() + QStringLiteral("/Samples"));
    const QStringList found = samples.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(found.isEmpty());
    for (const QString& name : found) {
        SCOPED_TRACE(name.toStdString());
        QTemporaryDir pages;
        QProcess host;
        host.start(testsupport::programDir() + QStringLiteral("/marrowdale-wordhost"),
                   {QStringLiteral("--render"), samples.filePath(name), pages.path()});
        ASSERT_TRUE(host.waitForFinished(180000)) << host.errorString().toStdString();
        ASSERT_EQ(host.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(host.exitCode(), 0) << host.readAllStandardError().toStdString();

        const QString printed = QString::fromUtf8(host.readAllStandardOutput());
        const auto numbers = QRegularExpression(QStringLiteral("\\d+")).globalMatch(printed);
        int count = 0;
        for (auto it = numbers; it.hasNext();) count = it.next().captured().toInt();
        const auto expected = expectedPages.find(name);
        if (expected != expectedPages.end()) {
            EXPECT_EQ(count, expected->second) << printed.toStdString();
        } else {
            EXPECT_GE(count, 1) << printed.toStdString();
        }
        for (int page = 1; page <= count; ++page) {
            const QImage image(pages.filePath(QStringLiteral("page-%1.png").arg(page)));
            EXPECT_FALSE(image.isNull()) << "page " << page;
        }
    }
}

}  // namespace
