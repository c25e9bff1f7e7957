#include <gtest/gtest.h>

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>

#include "platform/AppError.h"
#include "tests/support/ConversionCalls.h"
#include "tests/support/FakeWord.h"
#include "tests/support/ScratchHome.h"

using platform::AppError;
using testsupport::FakeWord;

namespace {

QString makeDocument() {
    const QString path = testsupport::scratchHome() + QStringLiteral("/doc.docx");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("x");
    return path;
}

// One pass of the conversion's page loop, as it talks to Word.
void cutFirstPage(wordclient::WordApplication& word, bool rest) {
    if (rest) {
        testsupport::selectToTheEnd(word);
    } else {
        testsupport::selectFirstPages(word, 1);
    }
    if (!word.selectionText().isEmpty()) word.selectionCut();
}

std::vector<int> clipboardPages() { return FakeWord::pagesOfPicture(QGuiApplication::clipboard()->image()); }

TEST(FakeWord, CutsThePagesOneByOneAndTheRestAtTheEnd) {
    FakeWord fake;
    fake.pageCount = 3;
    fake.contentPages = 5;  // the count is short: the last pass takes pages 3 to 5
    auto word = wordclient::wordFactory().createObject();
    word->documentsOpen(makeDocument());
    ASSERT_EQ(word->builtInDocumentProperty(14).toInt(), 3);

    cutFirstPage(*word, false);
    EXPECT_EQ(clipboardPages(), std::vector<int>{1});
    cutFirstPage(*word, false);
    EXPECT_EQ(clipboardPages(), std::vector<int>{2});
    EXPECT_EQ(FakeWord::pageOfPicture(QGuiApplication::clipboard()->image()), 2);
    cutFirstPage(*word, true);
    EXPECT_EQ(clipboardPages(), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(fake.remainingPages(), 0);
    EXPECT_EQ(fake.cutPages, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(fake.callsNamed(QStringLiteral("Selection.MoveUp")).size(), 200);
    EXPECT_EQ(fake.calls.back(), QStringLiteral("Selection.Cut"));
}

TEST(FakeWord, AnEmptySelectionCutsNothingAndKeepsTheClipboard) {
    FakeWord fake;
    fake.pageCount = 3;
    fake.contentPages = 1;  // the count is too high: the second pass finds nothing below page 1
    auto word = fake.createObject();
    word->documentsOpen(makeDocument());
    QGuiApplication::clipboard()->setImage(FakeWord::pagePicture(9));
    cutFirstPage(*word, false);  // page 2 does not exist: GoTo stays on the last page, nothing selected
    EXPECT_TRUE(fake.callsNamed(QStringLiteral("Selection.Cut")).isEmpty());
    EXPECT_EQ(clipboardPages(), std::vector<int>{9});
    cutFirstPage(*word, true);
    EXPECT_EQ(clipboardPages(), std::vector<int>{1});

    fake.cutPicture = FakeWord::CutPicture::ClearClipboard;
    word->documentsOpen(makeDocument());
    cutFirstPage(*word, true);
    EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
}

TEST(FakeWord, FailsCallsByNameOrRecordAndOnlyTheNthTime) {
    FakeWord fake;
    fake.paragraphs = {{-36, 0}, {0, -10}};
    fake.failCall(QStringLiteral("Selection.MoveUp"), QStringLiteral("moved too far"), 3);
    fake.failCall(QStringLiteral("RightIndent[1]=0"));
    auto word = fake.createObject();
    word->documentsOpen(makeDocument());
    word->selectionMoveUp(5, 200, 1);
    word->selectionMoveUp(5, 200, 1);
    try {
        word->selectionMoveUp(5, 200, 1);
        FAIL() << "the third MoveUp should fail";
    } catch (const AppError& error) {
        EXPECT_EQ(error.number(), 440);
        EXPECT_EQ(error.description(), QStringLiteral("moved too far"));
    }
    word->selectionMoveUp(5, 200, 1);
    word->setLeftIndent(0, word->centimetersToPoints(0));
    EXPECT_THROW(word->setRightIndent(1, 0), AppError);
    EXPECT_EQ(fake.paragraphs[0].left, 0);
    EXPECT_EQ(fake.paragraphs[1].right, -10);
    EXPECT_EQ(fake.calls.mid(fake.calls.size() - 3),
              (QStringList{"CentimetersToPoints(0)", "LeftIndent[0]=0", "RightIndent[1]=0"}));
    EXPECT_EQ(FakeWord::callName(QStringLiteral("ActiveDocument.Close(savechanges=0)")),
              QStringLiteral("ActiveDocument.Close"));
    EXPECT_EQ(FakeWord::callName(QStringLiteral("PageFit=2")), QStringLiteral("PageFit="));
}

TEST(FakeWord, BehavesLikeWordWithoutADocumentAndAfterQuit) {
    FakeWord fake;
    auto word = fake.createObject();
    try {
        word->documentsOpen(QStringLiteral("/no/such/file.docx"));
        FAIL() << "opening a missing file should fail";
    } catch (const AppError& error) {
        EXPECT_EQ(error.number(), 5174);
        EXPECT_TRUE(error.description().contains(QStringLiteral("/no/such/file.docx")));
    }
    EXPECT_THROW(word->activeDocumentRepaginate(), AppError);
    EXPECT_THROW(word->pageFit(), AppError);
    word->quit();
    EXPECT_THROW(word->name(), AppError);
    EXPECT_EQ(fake.calls, (QStringList{"create", "Documents.Open(/no/such/file.docx)",
                                       "ActiveDocument.Repaginate", "PageFit", "quit", "name"}));
    EXPECT_EQ(fake.liveObjects(), 1);
    word.reset();
    EXPECT_EQ(fake.liveObjects(), 0);
}

TEST(FakeWord, CreationAndAttachingFollowTheSettings) {
    FakeWord fake;
    fake.createFails = true;
    EXPECT_THROW(wordclient::wordFactory().createObject(), AppError);
    EXPECT_THROW(wordclient::wordFactory().getObject(), AppError);
    fake.running = true;
    fake.applicationName = QStringLiteral("Not Word");
    EXPECT_EQ(wordclient::wordFactory().getObject()->name(), QStringLiteral("Not Word"));
    EXPECT_EQ(fake.calls, (QStringList{"create", "attach", "attach", "name"}));
}

TEST(FakeWord, PagePicturesSurviveALossyRoundTrip) {
    for (int page : {1, 2, 17, 64, 65, 300}) {
        QImage original = FakeWord::pagePicture(page);
        EXPECT_EQ(FakeWord::pageOfPicture(original), page);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(original.save(&buffer, "JPG", 60));
        const QImage decoded = QImage::fromData(buffer.data(), "JPG");
        EXPECT_EQ(FakeWord::pageOfPicture(decoded), (page - 1) % 64 + 1) << page;
    }
    EXPECT_EQ(FakeWord::pageOfPicture(QImage()), 0);
    QImage white(200, 260, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(FakeWord::pageOfPicture(white), 0);
}

}  // namespace
