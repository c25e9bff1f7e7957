// The engine failing the run: its host killed or silent in the middle of a document, the office
// suite missing, the engine's temporary folder unwritable, a listed document gone before its turn.
#include <QFile>
#include <csignal>
#include <optional>

#include "platform/Services.h"
#include "tests/faults/FaultRun.h"
#include "tests/faults/Mounts.h"
#include "tests/support/HostTestSupport.h"
#include "wordclient/WordHostProcess.h"

using namespace faulttest;

namespace {

const QString kCantCreate = QStringLiteral("130: ActiveX component can't create object");

}  // namespace

TEST_F(FaultRun, AHostKilledDuringADocumentFailsTheRestOfThatDocumentOnly) {
    const QString first = document(QStringLiteral("first.docx"), 3);
    const QString second = document(QStringLiteral("second.docx"), 1);
    const QString out = freshFolder(QStringLiteral("out"));
    afterPage = [&](const QString& path, int page) {
        if (path != first || page != 1) return;
        const pid_t host = wordhosttest::onlyRunningHost();
        ASSERT_GT(host, 0);
        ::kill(host, SIGKILL);
    };

    run(out, {first, second});
    const QStringList got = reports();
    ASSERT_FALSE(got.isEmpty());
    EXPECT_EQ(got.front(), QStringLiteral("150: The document engine stopped unexpectedly."));
    for (const QString& report : got) {
        EXPECT_TRUE(report.endsWith(QStringLiteral("The document engine stopped unexpectedly.")) ||
                    report.endsWith(QStringLiteral("The document engine is no longer running.")) ||
                    report == QStringLiteral("202: The clipboard holds no picture of this page."))
            << report.toStdString();
    }
    // Page 2 was cut before page 1 was shown done: the pages after it are lost.
    EXPECT_EQ(pcxFiles(out), QStringList({QStringLiteral("first_1.pcx"), QStringLiteral("first_2.pcx"),
                                          QStringLiteral("second_1.pcx")}));
    expectCleanEnd(out);
}

TEST_F(FaultRun, AHostThatStopsAnsweringIsEndedByTheWatchdog) {
    const QString first = document(QStringLiteral("first.docx"), 3);
    const QString second = document(QStringLiteral("second.docx"), 1);
    const QString out = freshFolder(QStringLiteral("out"));
    // The short wait starts with the hang: on a busy machine opening a document can take longer.
    std::optional<platform::services::Override<wordclient::EngineReplyTimeoutService>> shortTimeout;
    pid_t stopped = -1;
    afterPage = [&](const QString& path, int page) {
        if (path != first || page != 1) return;
        stopped = wordhosttest::onlyRunningHost();
        ASSERT_GT(stopped, 0);
        shortTimeout.emplace(std::chrono::seconds(2));
        ::kill(stopped, SIGSTOP);  // as if the engine hung on the next call
    };

    // The ended host's private folder is gone with the document, not some time later: a program
    // that ends right after its run would leave it behind.
    long foldersWithoutHost = 0;
    afterDocument = [&](const QString& path) {
        if (path == first) foldersWithoutHost = engineFoldersWithoutHost();
    };
    run(out, {first, second});
    EXPECT_LE(foldersWithoutHost, 0) << "the ended host's private folder";
    const QString silent =
        QStringLiteral("The document engine stopped answering for 2 seconds and was ended.");
    const QStringList got = reports();
    ASSERT_FALSE(got.isEmpty());
    EXPECT_EQ(got.front(), QStringLiteral("150: ") + silent);
    EXPECT_TRUE(got.contains(QStringLiteral("230: ") + silent))
        << "later calls fail at once, with the same text";
    // Page 2 was cut before page 1 was shown done: the pages after it are lost.
    EXPECT_EQ(pcxFiles(out), QStringList({QStringLiteral("first_1.pcx"), QStringLiteral("first_2.pcx"),
                                          QStringLiteral("second_1.pcx")}));
    EXPECT_FALSE(wordhosttest::processAlive(stopped));
    expectCleanEnd(out);
}

TEST_F(FaultRun, AnEngineThatCannotStartIsReportedForEveryDocument) {
    const QString doc = document(QStringLiteral("report.docx"), 1);
    const QString out = freshFolder(QStringLiteral("out"));

    // The office suite is not installed.
    qputenv("MARROWDALE_LIBREOFFICE_PROGRAM", "/nonexistent/libreoffice/program");
    run(out, {doc, doc});
    qunsetenv("MARROWDALE_LIBREOFFICE_PROGRAM");
    QStringList got = reports();
    EXPECT_EQ(got.count(kCantCreate), 2) << got.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(pcxFiles(out).isEmpty());
    expectCleanEnd(out);

    // The engine's temporary folder cannot be written.
    dialogs.shown.clear();
    const QByteArray savedTmp = qgetenv("TMPDIR");
    const QString engineTemp = freshFolder(QStringLiteral("read-only-tmpdir"));
    ReadOnlyFolder readOnly(engineTemp);
    if (!readOnly.ready()) GTEST_SKIP() << "cannot make a folder read-only here";
    qputenv("TMPDIR", engineTemp.toLocal8Bit());
    run(out, {doc});
    qputenv("TMPDIR", savedTmp);
    got = reports();
    EXPECT_EQ(got.count(kCantCreate), 1) << got.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(pcxFiles(out).isEmpty());
    expectCleanEnd(out);
}

TEST_F(FaultRun, ADocumentRemovedBeforeItsTurnIsReportedAndTheOthersConvert) {
    const QString first = document(QStringLiteral("first.docx"), 1);
    const QString gone = document(QStringLiteral("gone.docx"), 1);
    const QString last = document(QStringLiteral("last.docx"), 1);
    const QString out = freshFolder(QStringLiteral("out"));
    afterDocument = [&](const QString& path) {
        if (path == first) {
            ASSERT_TRUE(QFile::remove(gone));
        }
    };

    run(out, {first, gone, last});
    const QStringList got = reports();
    ASSERT_FALSE(got.isEmpty());
    EXPECT_EQ(got.front(), QStringLiteral("132: The document \"%1\" does not exist.").arg(gone));
    EXPECT_EQ(pcxFiles(out), QStringList({QStringLiteral("first_1.pcx"), QStringLiteral("last_1.pcx")}));
    expectCleanEnd(out);
}
