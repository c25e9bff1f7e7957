#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <functional>

#include "conversion/ClipboardTurn.h"
#include "conversion/ConverterTool.h"
#include "conversion/Word1.h"
#include "platform/ProgramExit.h"
#include "protocol/HostRegistry.h"
#include "tests/conversion/ConversionTestWindow.h"
#include "tests/support/FakeWord.h"
#include "tests/support/ImageMagick.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/ScratchHome.h"

using testsupport::FakeWord;

namespace {

const QString kLocation = QStringLiteral("in Tessary2017/04/05.Word1.SaveDocAsPCX ");

// The page a PCX file shows, decoded by ImageMagick.
int pageOfPcx(const QString& pcx) { return FakeWord::pageOfPicture(testsupport::decodeWithImageMagick(pcx)); }

class SaveDocAsPcxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(out.isValid());
        window.outputFolder = out.path() + QLatin1Char('/');
        document = docs.path() + QStringLiteral("/report.docx");
        QFile file(document);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not read by the fake");
    }

    QStringList outputFiles() const { return QDir(out.path()).entryList(QDir::Files, QDir::Name); }
    QStringList reportSteps() const {
        QStringList steps;
        for (const auto& box : dialogs.errorReports()) {
            EXPECT_TRUE(box.text.contains(kLocation + QStringLiteral("at line "))) << box.text.toStdString();
            steps << box.text.section(QStringLiteral("at line "), 1).section(QLatin1Char('\r'), 0, 0);
        }
        return steps;
    }

    QTemporaryDir out;
    QTemporaryDir docs;
    QString document;
    testsupport::ConversionTestWindow window;
    testsupport::RecordingDialogs dialogs;
    FakeWord word;
};

TEST_F(SaveDocAsPcxTest, EveryPageBecomesItsOwnPcxAndNothingElseIsLeft) {
    word.pageCount = 3;
    word.pageFitSetting = 1;
    Word1::SaveDocAsPCX(window, document);

    EXPECT_TRUE(dialogs.errorReports().empty())
        << dialogs.messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(outputFiles(), (QStringList{"report_1.pcx", "report_2.pcx", "report_3.pcx"}));
    for (int page = 1; page <= 3; ++page) {
        EXPECT_EQ(pageOfPcx(out.path() + QStringLiteral("/report_%1.pcx").arg(page)), page);
    }
    EXPECT_EQ(window.progressTexts.back(), QStringLiteral("Processing: report.docx (Page 3 of 3)"));
    EXPECT_FALSE(QFile::exists(Main::ConverterFilePath()));
    EXPECT_EQ(word.pageFitSetting, 1);  // restored
    EXPECT_EQ(word.liveObjects(), 0);
    EXPECT_EQ(word.calls.front(), QStringLiteral("create"));
    EXPECT_EQ(word.calls.mid(word.calls.size() - 3),
              (QStringList{"PageFit=1", "ActiveDocument.Close(savechanges=0)", "quit"}));
    EXPECT_EQ(word.count(QStringLiteral("Selection.MoveUp")), 200);  // 100 per page but the last
    EXPECT_EQ(word.count(QStringLiteral("Selection.EndKey")), 1);
    EXPECT_EQ(window.pointers, (std::vector<int>{11, 11, 11}));
}

TEST_F(SaveDocAsPcxTest, APageCountOfZeroGivesOnePassWithTheWholeDocument) {
    word.pageCount = 0;
    word.contentPages = 2;
    Word1::SaveDocAsPCX(window, document);
    EXPECT_EQ(outputFiles(), QStringList{"report_1.pcx"});
    EXPECT_EQ(window.progressTexts.back(), QStringLiteral("Processing: report.docx (Page 1 of 0)"));
}

// A document's path below the documents folder, and the one PCX file its single page gives.
class BaseNames : public SaveDocAsPcxTest,
                  public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(BaseNames, FollowTheLastDot) {
    QDir(docs.path()).mkpath(QStringLiteral("my.docs"));
    word.documentMustExist = false;
    Word1::SaveDocAsPCX(window, docs.path() + QString::fromUtf8(GetParam().first));
    EXPECT_EQ(outputFiles(), QStringList{QString::fromUtf8(GetParam().second)});
}

INSTANTIATE_TEST_SUITE_P(Documents, BaseNames,
                         ::testing::Values(std::pair{"/report.final.docx", "report.final_1.pcx"},
                                           std::pair{"/my.docs/report", "my_1.pcx"},
                                           std::pair{"/plain", "_1.pcx"}));

TEST_F(SaveDocAsPcxTest, AFolderTextWithoutSlashPrefixesTheNames) {
    window.outputFolder = out.path() + QStringLiteral("/sub");
    Word1::SaveDocAsPCX(window, document);
    EXPECT_EQ(outputFiles(), QStringList{"subreport_1.pcx"});
}

TEST_F(SaveDocAsPcxTest, NegativeIndentsAreSetToZeroAndOthersLeftAlone) {
    word.pageCount = 2;
    word.paragraphs = {{-36, 0}, {12, -5}, {0, 7}};
    Word1::SaveDocAsPCX(window, document);
    EXPECT_EQ(word.paragraphs[0].left, 0);
    EXPECT_EQ(word.paragraphs[1].left, 12);
    EXPECT_EQ(word.paragraphs[1].right, 0);
    EXPECT_EQ(word.paragraphs[2].right, 7);
    EXPECT_EQ(word.count(QStringLiteral("Paragraphs")), 2);  // walked at every pass
    EXPECT_EQ(word.callsNamed(QStringLiteral("LeftIndent=")), QStringList{"LeftIndent[0]=0"});
    EXPECT_EQ(word.callsNamed(QStringLiteral("RightIndent=")), QStringList{"RightIndent[1]=0"});
}

TEST_F(SaveDocAsPcxTest, AnEngineThatCannotStartIsReportedAndTheCallStillEnds) {
    word.createFails = true;
    Word1::SaveDocAsPCX(window, document);
    const QStringList steps = reportSteps();
    ASSERT_FALSE(steps.isEmpty());
    EXPECT_EQ(steps.front(), QStringLiteral("130"));
    EXPECT_TRUE(steps.contains(QStringLiteral("132")));
    EXPECT_TRUE(steps.contains(QStringLiteral("202")));  // no picture: no page image at all
    EXPECT_TRUE(steps.contains(QStringLiteral("230")));
    EXPECT_TRUE(outputFiles().isEmpty());
    EXPECT_FALSE(QFile::exists(Main::ConverterFilePath()));
}

TEST_F(SaveDocAsPcxTest, ADocumentThatCannotBeOpenedStillQuitsTheEngine) {
    Word1::SaveDocAsPCX(window, docs.path() + QStringLiteral("/missing.docx"));
    const QStringList steps = reportSteps();
    ASSERT_FALSE(steps.isEmpty());
    EXPECT_EQ(steps.front(), QStringLiteral("132"));
    EXPECT_EQ(word.calls.back(), QStringLiteral("quit"));
    EXPECT_EQ(word.liveObjects(), 0);
    EXPECT_TRUE(outputFiles().isEmpty());
}

TEST_F(SaveDocAsPcxTest, APageWithoutPictureIsReportedAndNeverGetsThePreviousOne) {
    word.pageCount = 3;
    word.failCall(QStringLiteral("Selection.Cut"), QStringLiteral("cut failed"), 2);
    Word1::SaveDocAsPCX(window, document);
    EXPECT_EQ(reportSteps(), (QStringList{"198", "202"}));
    // The failed cut leaves page 2 in place, so the third pass cuts it; its number is 3.
    EXPECT_EQ(outputFiles(), (QStringList{"report_1.pcx", "report_3.pcx"}));
    EXPECT_EQ(pageOfPcx(out.path() + QStringLiteral("/report_1.pcx")), 1);
    EXPECT_NE(pageOfPcx(out.path() + QStringLiteral("/report_3.pcx")), 1);
    EXPECT_FALSE(QFile::exists(out.path() + QStringLiteral("/report_2.bmp")));
}

TEST_F(SaveDocAsPcxTest, ACutThatLeavesNoPictureIsReportedAtTheClipboardStep) {
    word.pageCount = 2;
    word.cutPicture = FakeWord::CutPicture::LeaveClipboard;
    Word1::SaveDocAsPCX(window, document);
    EXPECT_EQ(reportSteps(), (QStringList{"202", "202"}));
    EXPECT_TRUE(outputFiles().isEmpty());
}

TEST_F(SaveDocAsPcxTest, AJpegThatCannotBeWrittenIsReportedOnceAndTheRestGoesOn) {
    word.pageCount = 2;
    QDir(out.path()).mkpath(QStringLiteral("report_1.jpg"));  // a folder where the JPEG should go
    Word1::SaveDocAsPCX(window, document);
    const auto reports = dialogs.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.startsWith(QStringLiteral("Cannot save the image. GDI+ Error:")));
    EXPECT_TRUE(reports[0].text.contains(QStringLiteral("at line 206")));
    EXPECT_FALSE(QFile::exists(out.path() + QStringLiteral("/report_1.pcx")));
    EXPECT_TRUE(QFile::exists(out.path() + QStringLiteral("/report_2.pcx")));
}

TEST_F(SaveDocAsPcxTest, AStalePcxIsDeletedEvenWhenTheNewPageFails) {
    QFile stale(out.path() + QStringLiteral("/report_1.pcx"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    word.cutPicture = FakeWord::CutPicture::ClearClipboard;
    Word1::SaveDocAsPCX(window, document);
    EXPECT_TRUE(outputFiles().isEmpty());
}

TEST_F(SaveDocAsPcxTest, AConverterFileThatIsNotOursIsNeverRun) {
    word.pageCount = 2;
    // A converter file that is not ours to run: a symbolic link planted in the temporary folder.
    QFile::link(QStringLiteral("/bin/true"), Main::ConverterFilePath());
    Word1::SaveDocAsPCX(window, document);
    EXPECT_EQ(reportSteps(), (QStringList{"212", "212"}));
    EXPECT_TRUE(outputFiles().isEmpty());
    QFile::remove(Main::ConverterFilePath());
}

// A quoted program name ends at the next quote: with TEMP "/s/x\"y" the command line would start
// /s/x, a file nobody checked. Only the checked converter may run; this one is refused.
TEST_F(SaveDocAsPcxTest, AConverterPathThatCannotBeQuotedIsRefusedAndNothingElseRuns) {
    const QByteArray savedTemp = qgetenv("TEMP");
    QTemporaryDir scratch;
    const QString temp = scratch.path() + QStringLiteral("/x\"y");
    ASSERT_TRUE(QDir().mkpath(temp));
    const QString planted = scratch.path() + QStringLiteral("/x");
    const QString ran = scratch.path() + QStringLiteral("/planted-program-ran");
    QFile program(planted);
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(ran).toUtf8());
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("TEMP", QFile::encodeName(temp));

    word.pageCount = 2;
    Word1::SaveDocAsPCX(window, document);
    qputenv("TEMP", savedTemp);

    EXPECT_FALSE(QFile::exists(ran));
    EXPECT_EQ(reportSteps(), (QStringList{"212", "212"}));
    EXPECT_TRUE(dialogs.errorReports().front().text.contains(QStringLiteral("cannot be quoted")))
        << dialogs.errorReports().front().text.toStdString();
    EXPECT_TRUE(outputFiles().isEmpty());
    EXPECT_FALSE(QFile::exists(temp + QStringLiteral("/nconvert.exe")));
}

// Without TEMP and a private runtime folder the converter goes into a folder made for the
// document; when none can be made, the step that needs it says so and names the folder.
TEST_F(SaveDocAsPcxTest, WithoutTempTheConverterFolderIsFoundAtItsStepAndTakenAwayAfter) {
    const QByteArray savedTemp = qgetenv("TEMP");
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray savedTmpdir = qgetenv("TMPDIR");
    QTemporaryDir tmp;
    qunsetenv("TEMP");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    word.pageCount = 2;
    Word1::SaveDocAsPCX(window, document);
    EXPECT_TRUE(dialogs.errorReports().empty())
        << dialogs.messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(outputFiles(), (QStringList{"report_1.pcx", "report_2.pcx"}));
    EXPECT_TRUE(QDir(tmp.path()).isEmpty()) << QDir(tmp.path()).entryList().join(' ').toStdString();

    qputenv("TMPDIR", "/proc");  // a folder where nobody, not even root, makes one
    word.pageCount = 1;
    Word1::SaveDocAsPCX(window, document);
    const QStringList steps = reportSteps();
    ASSERT_FALSE(steps.isEmpty());
    EXPECT_EQ(steps.front(), QStringLiteral("108"));
    EXPECT_TRUE(dialogs.errorReports().front().text.contains(QStringLiteral("/proc")));
    qputenv("TEMP", savedTemp);
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
    qputenv("TMPDIR", savedTmpdir);
}

TEST_F(SaveDocAsPcxTest, TheUsersClipboardIsPutBack) {
    QGuiApplication::clipboard()->setText(QStringLiteral("the user's own text"));
    word.pageCount = 2;
    Word1::SaveDocAsPCX(window, document);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("the user's own text"));
    EXPECT_EQ(outputFiles().size(), 2);
}

// The user copies while the last page is finished (its converter wait, its progress text, the
// cleanup): that copy is the user's newest and stays; only the conversion's own picture goes.
class CopyingWindow : public testsupport::ConversionTestWindow {
  public:
    QString copyAtText;
    std::function<void()> copy;
    void setProgressText(const QString& text) override {
        ConversionTestWindow::setProgressText(text);
        if (text == copyAtText) copy();
    }
};

TEST_F(SaveDocAsPcxTest, WhatTheUserCopiesDuringTheLastPageStaysOnTheClipboard) {
    QGuiApplication::clipboard()->setText(QStringLiteral("copied before"));
    CopyingWindow copying;
    copying.outputFolder = window.outputFolder;
    copying.copyAtText = QStringLiteral("Processing: report.docx (Page 2 of 2)");
    copying.copy = [] { QGuiApplication::clipboard()->setText(QStringLiteral("copied during the run")); };
    word.pageCount = 2;
    Word1::SaveDocAsPCX(copying, document);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("copied during the run"));

    // A picture copied then is the user's too, though it looks like the page.
    copying.copy = [] { QGuiApplication::clipboard()->setImage(FakeWord::pagePicture(2)); };
    Word1::SaveDocAsPCX(copying, document);
    EXPECT_EQ(FakeWord::pageOfPicture(QGuiApplication::clipboard()->image()), 2);

    // A copy made before the last page was cut is replaced by that page, as ever.
    QGuiApplication::clipboard()->setText(QStringLiteral("copied before"));
    word.pageCount = 3;
    copying.copyAtText = QStringLiteral("Processing: report.docx (Page 1 of 3)");
    copying.copy = [] { QGuiApplication::clipboard()->setText(QStringLiteral("copied early")); };
    Word1::SaveDocAsPCX(copying, document);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("copied before"));
    EXPECT_TRUE(dialogs.errorReports().empty());
}

// Whether some copy (this one or another) holds the clipboard turn now.
bool clipboardTurnTaken() {
    const int fd = ::open(Word1::ClipboardTurn::lockPath().c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    const bool taken = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return taken;
}

// Copies of the program running at once share the system clipboard: every cut and the taking of its
// picture happen within the clipboard turn, and no box is ever up while the turn is held.
TEST_F(SaveDocAsPcxTest, EveryCutTakesTheClipboardTurnAndNoBoxHoldsIt) {
    protocol::registryFolder();  // as a running engine host has made it
    ASSERT_FALSE(Word1::ClipboardTurn::lockPath().empty());
    int cutsOutsideTheTurn = 0;
    int boxesWithinTheTurn = 0;
    word.duringCut = [&] { cutsOutsideTheTurn += clipboardTurnTaken() ? 0 : 1; };
    dialogs.onMessage = [&] { boxesWithinTheTurn += clipboardTurnTaken() ? 1 : 0; };
    word.pageCount = 3;
    word.cutPictureOfPage[1] = FakeWord::CutPicture::ClearClipboard;  // a box for the first page
    word.failCall(QStringLiteral("Selection.Cut"), QString(), 3);     // and one for the last
    Word1::SaveDocAsPCX(window, document);
    EXPECT_EQ(word.count(QStringLiteral("Selection.Cut")), 3);
    EXPECT_EQ(cutsOutsideTheTurn, 0);
    EXPECT_EQ(reportSteps(), (QStringList{"202", "198", "202"}));
    EXPECT_EQ(boxesWithinTheTurn, 0);
    EXPECT_FALSE(clipboardTurnTaken());
    EXPECT_EQ(outputFiles(), (QStringList{"report_2.pcx"}));
}

// A copy stuck while holding the turn costs the others a wait of a few seconds, never a hang.
TEST(ClipboardTurn, AHolderThatNeverLetsGoIsWaitedForOnlySoLong) {
    protocol::registryFolder();
    QProcess holder;  // the lock held by the sleeping process itself, so that killing it lets go
    holder.start(QStringLiteral("flock"),
                 {QStringLiteral("--no-fork"), QString::fromStdString(Word1::ClipboardTurn::lockPath()),
                  QStringLiteral("sleep"), QStringLiteral("60")});
    ASSERT_TRUE(holder.waitForStarted());
    for (int i = 0; i < 500 && !clipboardTurnTaken(); ++i) QThread::msleep(10);
    ASSERT_TRUE(clipboardTurnTaken());
    {
        const Word1::ClipboardTurn turn;
        EXPECT_FALSE(turn.held());
    }
    holder.kill();
    holder.waitForFinished();
    const Word1::ClipboardTurn turn;
    EXPECT_TRUE(turn.held());
}

TEST_F(SaveDocAsPcxTest, TheObserverHearsOfEveryDocument) {
    word.pageCount = 2;
    QStringList heard;
    Word1::SaveDocAsPCX(window, document, [&](const QString& path, int pcx) {
        heard << path + QStringLiteral(":%1").arg(pcx);
    });
    EXPECT_EQ(heard, QStringList{document + QStringLiteral(":2")});
}

// Watches the output folder at the moments the overlap rules speak of.
class WatchingWindow : public testsupport::ConversionTestWindow {
  public:
    explicit WatchingWindow(const testsupport::RecordingDialogs& dialogs) : dialogs_(dialogs) {}

    struct Progress {
        QString text;
        bool pcxComplete;  // the PCX of the page the text names
        std::size_t reportsSoFar;
    };
    std::vector<Progress> progress;
    int mostPagesInFlight = 0;  // pages with a .bmp or .jpg at once

    void setProgressText(const QString& text) override {
        ConversionTestWindow::setProgressText(text);
        const QString page = text.section(QStringLiteral("(Page "), 1).section(QLatin1Char(' '), 0, 0);
        const QFileInfo pcx(outputFolder + QStringLiteral("report_") + page + QStringLiteral(".pcx"));
        progress.push_back({text, pcx.isFile() && pageOfPcx(pcx.filePath()) == page.toInt(),
                            dialogs_.errorReports().size()});
    }
    void setRenderPicture(const QImage& newPicture) override {
        ConversionTestWindow::setRenderPicture(newPicture);
        QSet<QString> pages;
        for (const QString& name : QDir(outputFolder).entryList({"*.bmp", "*.jpg"}, QDir::Files)) {
            pages.insert(name.section(QLatin1Char('.'), 0, 0));
        }
        mostPagesInFlight = std::max(mostPagesInFlight, int(pages.size()));
    }

  private:
    const testsupport::RecordingDialogs& dialogs_;
};

TEST_F(SaveDocAsPcxTest, PagesOverlapButReportsAndProgressKeepThePagesOrder) {
    WatchingWindow watching(dialogs);
    watching.outputFolder = window.outputFolder;
    word.pageCount = 5;
    QDir(out.path()).mkpath(QStringLiteral("report_2.pcx"));          // the converter of page 2 cannot write
    word.cutPictureOfPage[3] = FakeWord::CutPicture::ClearClipboard;  // page 3 fails at 202
    Word1::SaveDocAsPCX(watching, document);

    EXPECT_EQ(reportSteps(), (QStringList{"212", "202"}));
    ASSERT_EQ(watching.progress.size(), 5u);
    const std::size_t reportsBefore[] = {0, 1, 2, 2,
                                         2};  // 212 of page 2 before its text, 202 of page 3 after it
    const bool complete[] = {true, false, false, true, true};
    for (int page = 1; page <= 5; ++page) {
        const auto& shown = watching.progress[std::size_t(page - 1)];
        EXPECT_EQ(shown.text, QStringLiteral("Processing: report.docx (Page %1 of 5)").arg(page));
        EXPECT_EQ(shown.pcxComplete, complete[page - 1]) << page;
        EXPECT_EQ(shown.reportsSoFar, reportsBefore[page - 1]) << page;
    }
    EXPECT_LE(watching.mostPagesInFlight, 2);
    EXPECT_EQ(outputFiles(),
              (QStringList{"report_1.pcx", "report_4.pcx", "report_5.pcx"}));  // nothing else left
    EXPECT_FALSE(QFile::exists(Main::ConverterFilePath()));
}

TEST_F(SaveDocAsPcxTest, AFailureOfTheLastPageIsReportedAfterThePageBefore) {
    word.pageCount = 3;
    QDir(out.path()).mkpath(QStringLiteral("report_2.pcx"));
    word.failCall(QStringLiteral("Selection.EndKey"), QStringLiteral("no end"));
    Word1::SaveDocAsPCX(window, document);
    // Page 3's cut comes while page 2's converter runs; its failures still follow page 2's.
    EXPECT_EQ(reportSteps(), (QStringList{"212", "184", "202"}));
    EXPECT_EQ(outputFiles(), QStringList{"report_1.pcx"});
}

}  // namespace

// A second copy of the program converts a whole document in the middle of this one's, with the same
// converter file in the temporary folder (the nested call stands in for the other process: the
// file is shared the same way). Ending first, it must leave the file to the copy still running.
TEST_F(SaveDocAsPcxTest, ASecondCopyEndingFirstLeavesTheConverterToTheFirst) {
    word.pageCount = 4;
    QTemporaryDir otherOut;
    bool secondCopyRan = false;
    QTimer secondCopy;
    QObject::connect(&secondCopy, &QTimer::timeout, [&] {
        if (secondCopyRan || !QFile::exists(out.path() + QStringLiteral("/report_1.pcx"))) return;
        secondCopyRan = true;
        FakeWord otherWord;  // its own engine while it runs
        otherWord.pageCount = 2;
        testsupport::ConversionTestWindow otherWindow;
        otherWindow.outputFolder = otherOut.path() + QLatin1Char('/');
        Word1::SaveDocAsPCX(otherWindow, document);
        EXPECT_EQ(QDir(otherOut.path()).entryList(QDir::Files).size(), 2);
    });
    secondCopy.start(0);
    Word1::SaveDocAsPCX(window, document);

    EXPECT_TRUE(secondCopyRan);
    EXPECT_TRUE(dialogs.errorReports().empty())
        << dialogs.messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(outputFiles(), (QStringList{"report_1.pcx", "report_2.pcx", "report_3.pcx", "report_4.pcx"}));
    EXPECT_FALSE(QFile::exists(Main::ConverterFilePath()));  // the last one to end removes it
}

// Runs in the child process of the death test: a document of six pages, closed once page 1 is
// finished while a later page's .bmp or .jpg is in the output folder.
[[noreturn]] void closeInTheMiddleOfADocument(testsupport::ConversionTestWindow& window, FakeWord& word,
                                              const QString& folders) {
    // This process's own scratch folder would otherwise stay behind.
    platform::addProgramEndAction([] { QDir(testsupport::scratchHome()).removeRecursively(); });
    qputenv("TEMP", QFile::encodeName(folders + QStringLiteral("/tmp")));
    window.outputFolder = folders + QStringLiteral("/out/");
    word.pageCount = 6;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        // The converter writes its PCX under another name and renames it when whole: once there, page 1 is
        // done.
        const QDir out(window.outputFolder);
        if (out.exists(QStringLiteral("report_1.pcx")) &&
            !out.entryList({QStringLiteral("*.bmp"), QStringLiteral("*.jpg")}, QDir::Files).isEmpty()) {
            platform::endProgramAtOnce();
        }
    });
    closer.start(0);
    Word1::SaveDocAsPCX(window, folders + QStringLiteral("/report.docx"));
    std::_Exit(4);  // the document ended before the window was closed
}

TEST_F(SaveDocAsPcxTest, ClosingInTheMiddleLeavesOnlyFinishedPagesBehind) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The death test runs this body again in a new process: the folders named here are the parent's.
    const char* const foldersVariable = "MARROWDALE_TEST_CLOSE_FOLDERS";
    if (qEnvironmentVariableIsEmpty(foldersVariable)) {
        const QString folders = docs.path() + QStringLiteral("/closing");
        QDir().mkpath(folders + QStringLiteral("/tmp"));
        QDir().mkpath(folders + QStringLiteral("/out"));
        QFile::copy(document, folders + QStringLiteral("/report.docx"));
        qputenv(foldersVariable, QFile::encodeName(folders));
    }
    const QString folders = QFile::decodeName(qgetenv(foldersVariable));
    EXPECT_EXIT(closeInTheMiddleOfADocument(window, word, folders), ::testing::ExitedWithCode(0), "");
    qunsetenv(foldersVariable);

    const QStringList left = QDir(folders + QStringLiteral("/out")).entryList(QDir::Files, QDir::Name);
    EXPECT_TRUE(left.contains(QStringLiteral("report_1.pcx"))) << left.join(QLatin1Char(' ')).toStdString();
    for (const QString& name : left) {
        const QRegularExpressionMatch page =
            QRegularExpression(QStringLiteral("^report_(\\d)\\.pcx$")).match(name);
        ASSERT_TRUE(page.hasMatch()) << "left behind: " << name.toStdString();
        EXPECT_EQ(pageOfPcx(folders + QStringLiteral("/out/") + name), page.captured(1).toInt());
    }
    EXPECT_EQ(QDir(folders + QStringLiteral("/tmp")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList());
}
