// Reading ahead: a spare engine opens the next document of the list while one converts. What is
// converted is still what the list holds, and the file as it is, in each document's turn.
#include <QDir>
#include <QFile>

#include "tests/faults/FaultRun.h"
#include "tests/support/HostTestSupport.h"

using namespace faulttest;

namespace {

// The documents the engines have copied so far (one private folder per document opened or read ahead).
int documentsCopied() {
    int copies = 0;
    const QString tmp = qEnvironmentVariable("TMPDIR");
    for (const QString& engine : engineFolders()) {
        copies += int(QDir(tmp + QLatin1Char('/') + engine)
                          .entryList({QStringLiteral("document-*")}, QDir::Dirs)
                          .size());
    }
    return copies;
}

// Waits until a spare has read the next document ahead: two documents are open at once.
void waitForReadingAhead() {
    ASSERT_TRUE(wordhosttest::waitUntil([] { return documentsCopied() >= 2; }, 30000))
        << "nothing was read ahead";
    wordhosttest::waitUntil([] { return false; }, 1500);  // let its layout finish
}

}  // namespace

TEST_F(FaultRun, ADocumentChangedOrRemovedAfterItWasReadAheadIsReadAgainInItsTurn) {
    const QString first = document(QStringLiteral("first.docx"), 2);
    // Kept beside the documents the run must leave alone: the test changes it.
    const QString elsewhere = freshFolder(QStringLiteral("elsewhere"));
    const QString changed = elsewhere + QStringLiteral("/changed.docx");
    QFile::copy(document(QStringLiteral("one-page.docx"), 1), changed);
    const QString removed = document(QStringLiteral("removed.docx"), 1);
    const QString last = document(QStringLiteral("last.docx"), 1);
    const QString out = freshFolder(QStringLiteral("out"));
    afterPage = [&](const QString& path, int page) {
        if (page != 1) return;
        if (path == first) {
            waitForReadingAhead();
            QFile::remove(changed);
            ASSERT_TRUE(QFile::copy(document(QStringLiteral("three-pages.docx"), 3), changed));
        } else if (path == changed) {
            waitForReadingAhead();
            ASSERT_TRUE(QFile::remove(removed));
        }
    };

    run(out, {first, changed, removed, last});
    const QStringList got = reports();
    ASSERT_FALSE(got.isEmpty());
    // Reported in its own turn, after the document before it was done, and not earlier.
    EXPECT_EQ(got.front(), QStringLiteral("132: The document \"%1\" does not exist.").arg(removed));
    EXPECT_EQ(pcxFiles(out), QStringList({"changed_1.pcx", "changed_2.pcx", "changed_3.pcx", "first_1.pcx",
                                          "first_2.pcx", "last_1.pcx"}));
    expectCleanEnd(out);
}

TEST_F(FaultRun, AListReorderedOrClearedDuringARunIsConvertedAsItIsInEachTurn) {
    const QString a = document(QStringLiteral("a.docx"), 2);
    const QString b = document(QStringLiteral("b.docx"), 1);
    const QString c = document(QStringLiteral("c.docx"), 3);
    const QString out = freshFolder(QStringLiteral("out"));
    afterPage = [&](const QString& path, int page) {
        if (path != a || page != 1) return;
        waitForReadingAhead();  // b is read ahead
        form.ListView1->clear();
        for (const QString& entry : {a, c, b}) form.ListView1->appendEntry(entry);
    };
    run(out, {a, b, c});
    EXPECT_EQ(reports(), QStringList());
    // c has three pages and b one: each was converted from its own file in its new place.
    EXPECT_EQ(pcxFiles(out), QStringList({"a_1.pcx", "a_2.pcx", "b_1.pcx", "c_1.pcx", "c_2.pcx", "c_3.pcx"}));
    expectCleanEnd(out);

    const QString cleared = freshFolder(QStringLiteral("cleared"));
    afterPage = [&](const QString& path, int page) {
        if (path != a || page != 1) return;
        waitForReadingAhead();
        form.ListView1->clear();
    };
    dialogs.shown.clear();
    run(cleared, {a, b, c});
    // The entries gone are the run's own failures; nothing of b (read ahead) is written or reported.
    for (const QString& report : reports()) {
        EXPECT_TRUE(report.startsWith(QStringLiteral("114: ")) || report.startsWith(QStringLiteral("116: ")))
            << report.toStdString();
    }
    EXPECT_EQ(pcxFiles(cleared), QStringList({"a_1.pcx", "a_2.pcx"}));
    expectCleanEnd(cleared);
}
