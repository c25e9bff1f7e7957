// The Word client against real engine hosts: the conversion's calls, the document left alone,
// refusals, and hosts that die, hang or lose their client.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

#include "platform/AppError.h"
#include "platform/Services.h"
#include "protocol/HostRegistry.h"
#include "tests/support/ConversionCalls.h"
#include "tests/support/DocxWriter.h"
#include "tests/support/HostTestSupport.h"
#include "tests/support/ScratchHome.h"
#include "wordclient/HostWordFactory.h"
#include "wordclient/WordHostProcess.h"

using platform::AppError;
using wordclient::WordApplication;
using namespace wordhosttest;
using namespace testdocx;

namespace {

constexpr QSize kLetterAt150Dpi(1275, 1650);

std::unique_ptr<WordApplication> newWord() { return wordclient::hostWordFactory().createObject(); }

QString makeDocument(const QString& folder, const QString& name, const std::vector<Paragraph>& paragraphs) {
    const QString path = folder + QLatin1Char('/') + name;
    writeDocx(path.toStdString(), paragraphs);
    return path;
}

using testsupport::cutToClipboard;
using testsupport::selectFirstPages;

// Share of pixels that are not near-white in a band of rows.
double inkIn(const QImage& image, int top, int bottom) {
    long ink = 0;
    long all = 0;
    for (int y = top; y < bottom; y += 2) {
        for (int x = 0; x < image.width(); x += 2, ++all) {
            if (qGray(image.pixel(x, y)) < 128) ++ink;
        }
    }
    return all == 0 ? 0 : double(ink) / double(all);
}

AppError callError(const std::function<void()>& call) {
    try {
        call();
    } catch (const AppError& error) {
        return error;
    }
    return AppError(0, QStringLiteral("no error"));
}

}  // namespace

TEST(WordHost, CutsThePagesAwayAndLeavesTheDocumentAlone) {
    const QString folder = testsupport::scratchFolder(QStringLiteral("cut"));
    std::vector<Paragraph> paragraphs = pagedText(4, 6);
    for (std::size_t i = 12; i < 18; ++i) paragraphs[i].text.clear();  // page 3 holds nothing but marks
    const QString path = makeDocument(folder, QStringLiteral("four pages.docx"), paragraphs);
    const auto before = folderSnapshot(folder);

    auto word = newWord();
    EXPECT_EQ(word->name(), QStringLiteral("Microsoft Word"));
    word->documentsOpen(path);
    EXPECT_EQ(folderSnapshot(folder), before) << "no lock file or anything else beside the document";
    word->activeDocumentRepaginate();
    EXPECT_EQ(word->builtInDocumentProperty(wordclient::wd::PropertyPages).toInt(), 4);
    EXPECT_EQ(word->pageFit(), 0);
    word->setPageFit(wordclient::wd::PageFitBestFit);
    EXPECT_EQ(word->pageFit(), 2);

    // Page 1 alone.
    selectFirstPages(*word, 1);
    const QString first = word->selectionText();
    EXPECT_TRUE(first.startsWith(QStringLiteral("Page 1 line 1\r"))) << first.toStdString();
    EXPECT_TRUE(first.endsWith(QStringLiteral("Page 1 line 6\r"))) << first.toStdString();
    EXPECT_FALSE(first.contains(QStringLiteral("Page 2")));
    const QImage page1 = cutToClipboard(*word);
    EXPECT_EQ(page1.size(), kLetterAt150Dpi);
    EXPECT_GT(inkIn(page1, 0, page1.height() / 4), 0.001);
    EXPECT_EQ(word->builtInDocumentProperty(wordclient::wd::PropertyPages).toInt(), 3);
    EXPECT_EQ(folderSnapshot(folder), before);

    // Pages 2 and 3 at once: one picture, one page below the other; the empty page still has a mark.
    selectFirstPages(*word, 2);
    const QString twoPages = word->selectionText();
    EXPECT_TRUE(twoPages.startsWith(QStringLiteral("Page 2 line 1\r"))) << twoPages.toStdString();
    EXPECT_TRUE(twoPages.endsWith(QStringLiteral("Page 2 line 6\r\r"))) << twoPages.toStdString();
    const QImage pages23 = cutToClipboard(*word);
    EXPECT_EQ(pages23.size(), QSize(kLetterAt150Dpi.width(), 2 * kLetterAt150Dpi.height()));
    EXPECT_GT(inkIn(pages23, 0, pages23.height() / 8), 0.001);
    EXPECT_LT(inkIn(pages23, pages23.height() / 2, pages23.height()), 0.0001);

    // The last pass takes the rest.
    word->selectionEndKey(wordclient::wd::Story, wordclient::wd::Extend);
    EXPECT_TRUE(word->selectionText().startsWith(QStringLiteral("Page 4 line 1\r")));
    EXPECT_EQ(cutToClipboard(*word).size(), kLetterAt150Dpi);
    EXPECT_EQ(word->builtInDocumentProperty(wordclient::wd::PropertyPages).toInt(), 0);

    // Nothing left: nothing selected, and a cut leaves the clipboard alone.
    word->selectionEndKey(wordclient::wd::Story, wordclient::wd::Extend);
    EXPECT_EQ(word->selectionText(), QString());
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    word->selectionCut();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));

    word->setPageFit(0);
    word->activeDocumentClose(wordclient::wd::DoNotSaveChanges);
    EXPECT_EQ(callError([&] { word->activeDocumentRepaginate(); }).number(), 4248);
    const pid_t host = onlyRunningHost();
    ASSERT_GT(host, 0);
    word->quit();
    EXPECT_TRUE(waitUntil([&] { return !processAlive(host); }, 10000)) << "quit ends the host";
    EXPECT_EQ(folderSnapshot(folder), before);
    EXPECT_EQ(callError([&] { word->name(); }).number(), platform::ErrorNumber::AutomationError);
}

TEST(WordHost, ACutTooLargeForOnePictureIsRefused) {
    const QString folder = testsupport::scratchFolder(QStringLiteral("large"));
    const QString path = makeDocument(folder, QStringLiteral("long.docx"), pagedText(90, 1));
    auto word = newWord();
    word->documentsOpen(path);
    word->selectionEndKey(wordclient::wd::Story, wordclient::wd::Extend);
    const AppError error = callError([&] { word->selectionCut(); });
    EXPECT_EQ(error.number(), platform::ErrorNumber::AutomationError);
    EXPECT_TRUE(error.description().startsWith(QStringLiteral("The selection is too large"))) << error.what();
    EXPECT_EQ(word->builtInDocumentProperty(wordclient::wd::PropertyPages).toInt(), 90);
    selectFirstPages(*word, 1);
    EXPECT_EQ(cutToClipboard(*word).size(), kLetterAt150Dpi);
    word->quit();
}

TEST(WordHost, ParagraphIndentsTravelInBatches) {
    const QString folder = testsupport::scratchFolder(QStringLiteral("indents"));
    std::vector<Paragraph> paragraphs = pagedText(2, 3);
    paragraphs[0].leftTwips = -720;  // -36 pt
    paragraphs[4].rightTwips = -360;
    const QString path = makeDocument(folder, QStringLiteral("indents.docx"), paragraphs);

    auto word = newWord();
    word->documentsOpen(path);
    word->activeDocumentRepaginate();
    const std::vector<wordclient::ParagraphIndents> indents = word->paragraphIndents();
    if (indents.empty()) {
        // A document whose paragraphs cannot be read still converts, only without the repair.
        EXPECT_EQ(callError([&] { word->setLeftIndent(0, 0); }).number(), 5941);
    } else {
        ASSERT_EQ(indents.size(), paragraphs.size());
        EXPECT_DOUBLE_EQ(indents[0].left, -36);
        EXPECT_DOUBLE_EQ(indents[4].right, -18);
        word->setLeftIndent(0, word->centimetersToPoints(0));
        word->setRightIndent(4, word->centimetersToPoints(0));
        EXPECT_EQ(callError([&] { word->setLeftIndent(int(indents.size()), 0); }).number(), 5941);
        EXPECT_EQ(word->builtInDocumentProperty(wordclient::wd::PropertyPages).toInt(), 2);
        const std::vector<wordclient::ParagraphIndents> repaired = word->paragraphIndents();
        EXPECT_DOUBLE_EQ(repaired[0].left, 0);
        EXPECT_DOUBLE_EQ(repaired[4].right, 0);
    }
    selectFirstPages(*word, 1);
    EXPECT_TRUE(word->selectionText().startsWith(QStringLiteral("Page 1 line 1\r")));
    if (!indents.empty()) {
        // The repaired first line starts at the 1 inch margin, not half an inch left of it.
        const QImage page = cutToClipboard(*word);
        int left = page.width();
        for (int y = 0; y < page.height() / 4; ++y) {
            for (int x = 0; x < left; ++x) {
                if (qGray(page.pixel(x, y)) < 128) left = x;
            }
        }
        EXPECT_GE(left, 140);
        EXPECT_LT(left, 170);
    }
    word->quit();
}

TEST(WordHost, MovesSentTogetherAreAnsweredOneByOne) {
    const QString folder = testsupport::scratchFolder(QStringLiteral("moves"));
    const QString path = makeDocument(folder, QStringLiteral("moves.docx"), pagedText(2, 4));
    auto word = newWord();
    word->documentsOpen(path);
    word->selectionGoTo(wordclient::wd::GoToPage, wordclient::wd::GoToNext, 2);
    const auto moved = word->selectionMoveUpRepeated(wordclient::wd::Line, 200, wordclient::wd::Extend, 100);
    ASSERT_EQ(moved.size(), 100u);
    EXPECT_TRUE(
        std::all_of(moved.begin(), moved.end(), [](const std::exception_ptr& failure) { return !failure; }));
    EXPECT_TRUE(word->selectionText().startsWith(QStringLiteral("Page 1 line 1\r")));

    // Each refused move has its own failure, in its place; the object then counts as failed.
    const auto refused = word->selectionMoveUpRepeated(4, 1, wordclient::wd::Extend, 3);
    ASSERT_EQ(refused.size(), 3u);
    for (const std::exception_ptr& failure : refused) {
        ASSERT_TRUE(failure);
        EXPECT_EQ(callError([&] { std::rethrow_exception(failure); }).number(), 438);
    }
    word->activeDocumentClose(wordclient::wd::DoNotSaveChanges);
    word->quit();
}

TEST(WordHost, RefusesWhatItCannotOpenAndGoesOn) {
    const QString folder = testsupport::scratchFolder(QStringLiteral("refusals"));
    const QString good = makeDocument(folder, QStringLiteral("good.docx"), pagedText(1, 2));
    const QString noise = folder + QStringLiteral("/noise.docx");
    {
        QFile file(noise);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < 4096; ++i) file.putChar(static_cast<char>((i * 7919 + 13) % 251));
    }
    const QString text = folder + QStringLiteral("/letter.docx");
    {
        QFile file(text);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Dear reader,\nthis is a plain text file with a Word name.\n");
    }
    // Password-protected copies, made by the office suite itself.
    const QString script =
        testsupport::sourceDir() + QStringLiteral("/tests/wordhost/make_encrypted_documents.py");
    QString scriptOutput;
    ASSERT_EQ(
        runShell(QStringLiteral("/usr/bin/python3 '%1' '%2' '%3'").arg(script, good, folder), &scriptOutput),
        0)
        << scriptOutput.toStdString();

    auto word = newWord();
    const auto description = [&](const QString& path) {
        const AppError error = callError([&] { word->documentsOpen(path); });
        EXPECT_EQ(error.number(), platform::ErrorNumber::AutomationError) << path.toStdString();
        return error.description();
    };
    EXPECT_EQ(description(folder + QStringLiteral("/missing.docx")),
              QStringLiteral("The document \"%1/missing.docx\" does not exist.").arg(folder));
    EXPECT_EQ(description(folder), QStringLiteral("\"%1\" is a folder, not a document.").arg(folder));
    EXPECT_EQ(description(noise), QStringLiteral("\"%1\" is not a Word document.").arg(noise));
    EXPECT_EQ(description(text), QStringLiteral("\"%1\" is not a Word document.").arg(text));
    for (const char* name : {"/encrypted.docx", "/encrypted.doc"}) {
        const QString path = folder + QLatin1String(name);
        EXPECT_EQ(
            description(path),
            QStringLiteral("The document \"%1\" is protected by a password and cannot be opened.").arg(path));
    }
    if (::geteuid() != 0) {
        const QString locked = folder + QStringLiteral("/locked.docx");
        QFile::copy(good, locked);
        QFile::setPermissions(locked, QFileDevice::Permissions());
        EXPECT_TRUE(
            description(locked).startsWith(QStringLiteral("The document \"%1\" cannot be read").arg(locked)));
    }
    // A refused document leaves no copy behind in the host's private folder.
    const pid_t host = onlyRunningHost();
    ASSERT_GT(host, 0);
    const QDir hostFolder(QString::fromStdString(protocol::privateFolderOfHost(host)));
    ASSERT_TRUE(hostFolder.exists());
    const QStringList copies = hostFolder.entryList({QStringLiteral("document-*")}, QDir::Dirs);
    EXPECT_TRUE(copies.isEmpty()) << copies.join(QLatin1Char(' ')).toStdString();
    word->documentsOpen(good);
    EXPECT_EQ(word->builtInDocumentProperty(wordclient::wd::PropertyPages).toInt(), 1);
    word->quit();
}

// As root every file is readable: the same refusal, seen through the diagnostic mode of a host
// that runs as nobody.
TEST(WordHost, RefusesAnUnreadableDocument) {
    if (::geteuid() != 0) GTEST_SKIP() << "covered through the client when not root";
    const QString folder = testsupport::scratchFolder(QStringLiteral("unreadable"));
    ::chmod(folder.toLocal8Bit().constData(), 0755);
    const QString locked = makeDocument(folder, QStringLiteral("locked.docx"), pagedText(1, 1));
    QFile::setPermissions(locked, QFileDevice::Permissions());
    QString output;
    const int status = runShell(QStringLiteral("cd /; TMPDIR=/tmp setpriv --reuid=nobody --regid=nogroup "
                                               "--clear-groups '%1/marrowdale-wordhost' "
                                               "--render '%2' '%3/pages'")
                                    .arg(testsupport::programDir(), locked, folder),
                                &output);
    EXPECT_NE(status, 0);
    EXPECT_TRUE(
        output.contains(QStringLiteral("The document \"%1\" cannot be read: Permission denied.").arg(locked)))
        << output.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/pages")));
}

TEST(WordHost, AHostThatDiesOrHangsBecomesAnAutomationError) {
    const QString folder = testsupport::scratchFolder(QStringLiteral("dying"));
    const QString path = makeDocument(folder, QStringLiteral("doc.docx"), pagedText(3, 3));

    // Killed in the middle of a call.
    auto word = newWord();
    word->documentsOpen(path);
    pid_t host = onlyRunningHost();
    ASSERT_GT(host, 0);
    ::kill(host, SIGSTOP);  // the call cannot finish before the kill
    QTimer::singleShot(300, [host] { ::kill(host, SIGKILL); });
    const AppError died = callError([&] { word->activeDocumentRepaginate(); });
    EXPECT_EQ(died.number(), platform::ErrorNumber::AutomationError);
    EXPECT_EQ(died.description(), QStringLiteral("The document engine stopped unexpectedly."));
    EXPECT_EQ(callError([&] { word->name(); }).description(), died.description());
    EXPECT_TRUE(waitUntil([&] { return onlyRunningHost() == -1; }, 10000));

    // Silent for longer than the watchdog allows.
    auto hanging = newWord();
    hanging->documentsOpen(path);
    host = onlyRunningHost();
    ASSERT_GT(host, 0);
    {
        const platform::services::Override<wordclient::EngineReplyTimeoutService> shortTimeout(
            std::chrono::milliseconds(1500));
        ::kill(host, SIGSTOP);
        EXPECT_EQ(callError([&] { hanging->selectionText(); }).description(),
                  QStringLiteral("The document engine stopped answering for 1.5 seconds and was ended."));
    }
    EXPECT_TRUE(waitUntil([&] { return !processAlive(host); }, 10000)) << "a silent host is ended";

    // The next Word object works.
    auto next = newWord();
    next->documentsOpen(path);
    EXPECT_EQ(next->builtInDocumentProperty(wordclient::wd::PropertyPages).toInt(), 3);
    next->quit();
}

TEST(WordHost, AttachFindsARunningHostOnly) {
    EXPECT_EQ(callError([] { wordclient::hostWordFactory().getObject(); }).number(),
              platform::ErrorNumber::CantCreateObject);
    auto word = newWord();
    auto attached = wordclient::hostWordFactory().getObject();
    EXPECT_EQ(attached->name(), QStringLiteral("Microsoft Word"));
    EXPECT_EQ(callError([&] { attached->quit(); }).number(), platform::ErrorNumber::AutomationError);
    EXPECT_EQ(word->name(), QStringLiteral("Microsoft Word")) << "attaching changed nothing";
    word->quit();
    EXPECT_TRUE(waitUntil([] { return onlyRunningHost() == -1; }, 10000));
    EXPECT_EQ(callError([&] { attached->name(); }).number(), platform::ErrorNumber::AutomationError);
    EXPECT_EQ(callError([] { wordclient::hostWordFactory().getObject(); }).number(),
              platform::ErrorNumber::CantCreateObject);
}

TEST(WordHost, ACleanEngineIsKeptAsTheSpareAndNoRunningWord) {
    // A Word object that quits before opening anything (the start-up check) leaves its engine,
    // already started, as the spare: the same process, no longer a running Word.
    auto word = newWord();
    const pid_t first = onlyRunningHost();
    word->quit();
    EXPECT_EQ(childHosts(), std::vector<pid_t>{first});
    EXPECT_EQ(onlyRunningHost(), -1);
    EXPECT_EQ(callError([] { wordclient::hostWordFactory().getObject(); }).number(),
              platform::ErrorNumber::CantCreateObject);
    EXPECT_EQ(callError([&] { word->name(); }).number(), platform::ErrorNumber::AutomationError);

    // Claimed, it is the running Word; a document converted and closed without an error leaves
    // it clean again, and the next document gets the same engine and the same pictures.
    const QString folder = testsupport::scratchFolder(QStringLiteral("spare"));
    const QString path = makeDocument(folder, QStringLiteral("one.docx"), pagedText(1, 1));
    QImage firstPicture;
    for (int round = 0; round < 2; ++round) {
        auto claimed = newWord();
        EXPECT_EQ(onlyRunningHost(), first);
        claimed->documentsOpen(path);
        claimed->selectionEndKey(wordclient::wd::Story, wordclient::wd::Extend);
        const QImage picture = cutToClipboard(*claimed);
        if (round == 0) firstPicture = picture;
        EXPECT_TRUE(picture == firstPicture) << "round " << round;
        claimed->activeDocumentClose(wordclient::wd::DoNotSaveChanges);
        claimed->quit();
        EXPECT_EQ(childHosts(), std::vector<pid_t>{first});
        EXPECT_EQ(onlyRunningHost(), -1);
    }

    // A document that failed never shares its engine: it ends and a fresh spare follows.
    auto failing = newWord();
    EXPECT_EQ(callError([&] { failing->documentsOpen(folder + QStringLiteral("/missing.docx")); }).number(),
              platform::ErrorNumber::AutomationError);
    failing->quit();
    EXPECT_TRUE(waitUntil([&] { return childHosts().size() == 1 && childHosts().front() != first; }, 10000));

    // A spare that died is replaced by a host of its own.
    ::kill(childHosts().front(), SIGKILL);
    auto replacement = newWord();
    EXPECT_EQ(replacement->name(), QStringLiteral("Microsoft Word"));
    replacement->quit();
}

TEST(WordHost, AnEngineServesTenDocumentsAtMost) {
    const QString folder = testsupport::scratchFolder(QStringLiteral("ten"));
    const QString path = makeDocument(folder, QStringLiteral("one.docx"), pagedText(1, 1));
    auto word = newWord();
    const pid_t engine = onlyRunningHost();
    for (int document = 1; document <= 10; ++document) {
        if (document > 1) word = newWord();
        EXPECT_EQ(onlyRunningHost(), engine) << "document " << document;
        word->documentsOpen(path);
        word->activeDocumentClose(wordclient::wd::DoNotSaveChanges);
        word->quit();
    }
    EXPECT_TRUE(waitUntil([&] { return childHosts().size() == 1 && childHosts().front() != engine; }, 10000));
}

TEST(WordHost, CreateFailsCleanlyWithoutTheEngine) {
    qputenv("MARROWDALE_LIBREOFFICE_PROGRAM", "/nonexistent/libreoffice/program");
    const AppError error = callError([] { newWord(); });
    qunsetenv("MARROWDALE_LIBREOFFICE_PROGRAM");
    EXPECT_EQ(error.number(), platform::ErrorNumber::CantCreateObject);
    EXPECT_EQ(error.description(), QStringLiteral("ActiveX component can't create object"));
    EXPECT_EQ(onlyRunningHost(), -1);
}

namespace {

// Starts a host the way the client does, on one end of a socket pair; returns the other end.
// `tunables` is the glibc settings the host is started with: null for none.
int startBareHost(pid_t* pid, const char* tunables = nullptr) {
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) return -1;
    const std::string program =
        (testsupport::programDir() + QStringLiteral("/marrowdale-wordhost")).toStdString();
    *pid = ::fork();
    if (*pid == 0) {
        if (tunables == nullptr) {
            ::unsetenv("GLIBC_TUNABLES");
        } else {
            ::setenv("GLIBC_TUNABLES", tunables, 1);
        }
        ::dup2(sockets[1], 0);
        ::dup2(sockets[1], 1);
        ::execl(program.c_str(), program.c_str(), "--serve", nullptr);
        ::_exit(127);
    }
    ::close(sockets[1]);
    return sockets[0];
}

std::string exchange(int fd, const std::string& request) {
    if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(request.size()))
        return {};
    std::string reply;
    char byte = 0;
    while (::read(fd, &byte, 1) == 1 && byte != '\n') reply += byte;
    return reply;
}

bool endsWithin(pid_t pid, int timeoutMs) {
    return waitUntil([pid] { return ::waitpid(pid, nullptr, WNOHANG) == pid; }, timeoutMs);
}

}  // namespace

namespace {

// The environment a running process was last started with, as it stands in its memory: glibc
// cuts its settings apart there as it reads them, so each shows as a piece of its own.
QByteArray environmentOf(pid_t pid) {
    QFile environ(QStringLiteral("/proc/%1/environ").arg(pid));
    return environ.open(QIODevice::ReadOnly) ? environ.readAll() : QByteArray();
}

}  // namespace

TEST(WordHost, AHostRunsWithItsHeapInTwoMegabytePagesUnlessTheEnvironmentSaysOtherwise) {
    const struct {
        const char* given;
        std::vector<const char*> present;
        const char* absent;
    } cases[] = {
        {nullptr, {"GLIBC_TUNABLES=glibc.malloc.hugetlb=1"}, nullptr},
        {"glibc.malloc.tcache_count=5",
         {"GLIBC_TUNABLES=glibc.malloc.tcache_count=5", "glibc.malloc.hugetlb=1"},
         nullptr},
        {"glibc.malloc.hugetlb=0", {"GLIBC_TUNABLES=glibc.malloc.hugetlb=0"}, "glibc.malloc.hugetlb=1"},
    };
    for (const auto& [given, present, absent] : cases) {
        pid_t host = -1;
        const int channel = startBareHost(&host, given);
        ASSERT_GE(channel, 0);
        // Answering, it has started again if it was to: the same process, the same channel.
        EXPECT_EQ(exchange(channel, "hello version=1\n").rfind("ok ", 0), 0u);
        const QByteArray environment = environmentOf(host);
        for (const char* setting : present) {
            EXPECT_TRUE(environment.contains(setting)) << setting;
        }
        if (absent != nullptr) {
            EXPECT_FALSE(environment.contains(absent)) << absent;
        }
        ::close(channel);
        EXPECT_TRUE(endsWithin(host, 10000));
    }
}

TEST(WordHost, AHostEndsWhenItsClientGoesAway) {
    // The channel closes.
    pid_t host = -1;
    int channel = startBareHost(&host);
    ASSERT_GE(channel, 0);
    EXPECT_EQ(exchange(channel, "hello version=1\n").rfind("ok ", 0), 0u);
    EXPECT_EQ(onlyRunningHost(), host);
    ::close(channel);
    EXPECT_TRUE(endsWithin(host, 10000));
    EXPECT_EQ(onlyRunningHost(), -1);

    // The client process dies while the channel stays open elsewhere.
    int sockets[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets), 0);
    const std::string program =
        (testsupport::programDir() + QStringLiteral("/marrowdale-wordhost")).toStdString();
    const pid_t client = ::fork();
    if (client == 0) {
        if (::fork() == 0) {
            ::dup2(sockets[1], 0);
            ::dup2(sockets[1], 1);
            ::execl(program.c_str(), program.c_str(), "--serve", nullptr);
            ::_exit(127);
        }
        for (;;) ::pause();
    }
    ::close(sockets[1]);
    EXPECT_EQ(exchange(sockets[0], "hello version=1\n").rfind("ok ", 0), 0u);
    host = onlyRunningHost();
    EXPECT_GT(host, 0);
    ::kill(client, SIGKILL);
    ::waitpid(client, nullptr, 0);
    EXPECT_TRUE(waitUntil([host] { return !processAlive(host); }, 10000)) << "the host followed its client";
    EXPECT_EQ(onlyRunningHost(), -1);
    ::close(sockets[0]);
}
