// Output and temporary folders that fail the run: read-only, removed, full; the converter file
// removed in the middle of a document. Every fault is reported where it hits, the run goes on.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "tests/faults/FaultRun.h"
#include "tests/faults/Mounts.h"
#include "tests/support/HostTestSupport.h"
#include "tests/support/QtPrinters.h"

using namespace faulttest;

namespace {

// A Letter page of black text at 150 dpi as the page picture file (a grey byte a pixel and a
// 32-byte header).
constexpr std::int64_t kPageBmpBytes = 32 + 1275LL * 1650;
// More than the PCX of a page of text, less than that and the next page's picture file.
constexpr std::int64_t kPagePcxBytes = 1536 * 1024;

bool decodesAsPcx(const QString& path) {
    return wordhosttest::runShell(QStringLiteral("pcxtoppm '%1' >/dev/null 2>&1").arg(path)) == 0;
}

}  // namespace

TEST_F(FaultRun, AnOutputFolderThatCannotBeWrittenIsReportedPageByPage) {
    const QString doc = document(QStringLiteral("report.docx"), 2);
    const QString out = freshFolder(QStringLiteral("read-only"));
    ReadOnlyFolder readOnly(out);
    if (!readOnly.ready()) GTEST_SKIP() << "cannot make a folder read-only here";

    run(out, {doc});
    const QStringList got = reports();
    ASSERT_EQ(got.size(), 2) << got.join(QLatin1Char('\n')).toStdString();
    for (int page = 1; page <= 2; ++page) {
        const QString& report = got[page - 1];
        EXPECT_TRUE(report.startsWith(
            QStringLiteral("202: The page picture could not be written to %1/report_%2.bmp: ")
                .arg(out)
                .arg(page)))
            << report.toStdString();
    }
    EXPECT_TRUE(pcxFiles(out).isEmpty());
    expectCleanEnd(out);
}

TEST_F(FaultRun, AnOutputFolderRemovedDuringTheRunFailsTheRestOfTheRun) {
    const QString first = document(QStringLiteral("first.docx"), 3);
    const QString second = document(QStringLiteral("second.docx"), 2);
    const QString out = freshFolder(QStringLiteral("removed"));
    afterPage = [&](const QString& path, int page) {
        if (path == first && page == 1) QDir(out).removeRecursively();
    };

    run(out, {first, second});
    const QStringList got = reports();
    ASSERT_EQ(got.size(), 4) << got.join(QLatin1Char('\n')).toStdString();
    // Page 2 was made before page 1 was shown done: its JPEG or its converter found no folder.
    EXPECT_TRUE(
        got[0].startsWith(QStringLiteral("212: The converter could not write %1/first_2.pcx").arg(out)) ||
        got[0].startsWith(QStringLiteral("206: Cannot save the image.")))
        << got[0].toStdString();
    for (const QString& report : got.mid(1)) {
        EXPECT_TRUE(
            report.startsWith(QStringLiteral("202: The page picture could not be written to %1/").arg(out)))
            << report.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(out)) << "nothing made the folder again";
    expectCleanEnd(out);
}

TEST_F(FaultRun, AFullOutputFolderLosesOnlyThePagesThatDoNotFit) {
    const QString doc = document(QStringLiteral("long.docx"), 4);
    const QString out = freshFolder(QStringLiteral("small-disk"));
    SmallDisk disk(out, 32 * 1024);  // two pages in the making at once
    if (!disk.ready()) GTEST_SKIP() << "mounting a small tmpfs needs root";
    // When page n is shown done, page n + 1 is made already: the space left then is for its PCX
    // and for page n + 2.
    afterPage = [&](const QString&, int page) {
        if (page == 1) {
            // Page 2's JPEG is written on a worker: the disk fills once it is there.
            wordhosttest::waitUntil([&] { return QFile::exists(out + QStringLiteral("/long_2.jpg")); },
                                    10000);
            disk.fillLeaving(kPagePcxBytes);  // page 3's picture does not fit
        }
        if (page == 2) disk.fillLeaving(kPageBmpBytes + 32 * 1024);  // page 4's picture fits, its JPEG not
    };

    run(out, {doc});
    EXPECT_EQ(pcxFiles(out), QStringList({QStringLiteral("long_1.pcx"), QStringLiteral("long_2.pcx")}));
    EXPECT_TRUE(decodesAsPcx(out + QStringLiteral("/long_1.pcx")));
    EXPECT_TRUE(decodesAsPcx(out + QStringLiteral("/long_2.pcx")));
    const QStringList got = reports();
    ASSERT_EQ(got.size(), 2) << got.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(got[0].startsWith(
        QStringLiteral("202: The page picture could not be written to %1/long_3.bmp: ").arg(out)))
        << got[0].toStdString();
    EXPECT_TRUE(got[1].startsWith(QStringLiteral("206: ")) || got[1].startsWith(QStringLiteral("212: ")))
        << got[1].toStdString();
    expectCleanEnd(out);
}

TEST_F(FaultRun, AnUnwritableTemporaryFolderLeavesTheConverterOut) {
    const QString doc = document(QStringLiteral("report.docx"), 2);
    const QString out = freshFolder(QStringLiteral("out"));
    const QString savedTemp = temp;
    temp = freshFolder(QStringLiteral("read-only-temp"));
    ReadOnlyFolder readOnly(temp);
    if (!readOnly.ready()) GTEST_SKIP() << "cannot make a folder read-only here";
    qputenv("TEMP", temp.toLocal8Bit());

    run(out, {doc});
    qputenv("TEMP", savedTemp.toLocal8Bit());
    const QStringList got = reports();
    ASSERT_EQ(got.size(), 3) << got.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(got[0].startsWith(QStringLiteral("108: "))) << got[0].toStdString();
    for (int page = 1; page <= 2; ++page) {
        EXPECT_EQ(got[page], QStringLiteral("212: The converter %1/nconvert.exe is missing.").arg(temp));
    }
    EXPECT_TRUE(pcxFiles(out).isEmpty());
    expectCleanEnd(out);
}

TEST_F(FaultRun, AConverterRemovedDuringADocumentFailsItsLaterPagesOnly) {
    const QString first = document(QStringLiteral("first.docx"), 4);
    const QString second = document(QStringLiteral("second.docx"), 1);
    const QString out = freshFolder(QStringLiteral("out"));
    afterPage = [&](const QString& path, int page) {
        if (path == first && page == 1) {
            ASSERT_TRUE(QFile::remove(temp + QStringLiteral("/nconvert.exe")));
        }
    };

    run(out, {first, second});
    // Page 2 was in the making when page 1 was shown done: its converter may have run, found no
    // file, or lost it while starting. Pages 3 and 4 find none; each page has its PCX or its report.
    const QString missing = QStringLiteral("212: The converter %1/nconvert.exe is missing.").arg(temp);
    const bool secondConverted = pcxFiles(out).contains(QStringLiteral("first_2.pcx"));
    const QStringList got = reports();
    ASSERT_EQ(got.size(), secondConverted ? 2 : 3) << got.join(QLatin1Char('\n')).toStdString();
    if (!secondConverted) {
        EXPECT_TRUE(got.front().startsWith(QStringLiteral("212: The converter ")));
    }
    EXPECT_EQ(got.mid(secondConverted ? 0 : 1), QStringList(2, missing));
    QStringList expected{QStringLiteral("first_1.pcx"), QStringLiteral("second_1.pcx")};
    if (secondConverted) expected.insert(1, QStringLiteral("first_2.pcx"));
    EXPECT_EQ(pcxFiles(out), expected);
    expectCleanEnd(out);
}
