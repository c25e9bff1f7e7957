// Indent writes the engine refuses, through the Word proxy and a host process on the fake office:
// each is the failure of its own call, and no other call's answer is lost for it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "conversion/Word1.h"
#include "platform/AppError.h"
#include "platform/Services.h"
#include "protocol/Requests.h"
#include "tests/conversion/ConversionTestWindow.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingDialogs.h"
#include "wordclient/HostReply.h"
#include "wordclient/HostWordApplication.h"

namespace {

// Word objects whose hosts are fake_wordhost processes.
class FakeHostFactory : public wordclient::WordFactory, private wordclient::EngineKeeper {
  public:
    std::unique_ptr<wordclient::WordApplication> createObject() override {
        auto host = std::make_unique<wordclient::WordHostProcess>(QStringLiteral(FAKE_WORDHOST_PATH));
        const std::vector<protocol::Message> replies = host->exchange({protocol::HelloRequest{}.encode()});
        wordclient::throwIfError(replies.front());
        host->setPrivateFolder(replies.front().get("folder"));
        return wordclient::newHostWordApplication(std::move(host), *this);
    }
    std::unique_ptr<wordclient::WordApplication> getObject() override {
        throw platform::AppError(platform::ErrorNumber::CantCreateObject);
    }

  private:
    void quitted(std::unique_ptr<wordclient::WordHostProcess>) override {}  // the host ends with its channel
};

class IndentWritesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        document = folder.path() + QStringLiteral("/outdented.docx");
        QFile file(document);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // Paragraph 1 stands out on both sides and cannot be changed.
        file.write("pages 2 2\nparagraphs -4 0 -3 -2 0 -1\nrefuse 1\n");
        file.close();
        qputenv("MARROWDALE_FAKE_DOCUMENT", QFile::encodeName(document));
    }
    void TearDown() override { qunsetenv("MARROWDALE_FAKE_DOCUMENT"); }

    QTemporaryDir folder;
    QString document;
    FakeHostFactory factory;
    platform::services::Override<wordclient::WordFactory> installed{&factory};
};

QString descriptionOf(const std::exception_ptr& failure) {
    try {
        if (failure) std::rethrow_exception(failure);
    } catch (const platform::AppError& error) {
        return error.description();
    }
    return QString();
}

TEST_F(IndentWritesTest, ARefusedWriteFailsItselfAndTheOthersAreMade) {
    auto word = factory.createObject();
    word->documentsOpen(document);
    ASSERT_EQ(word->paragraphIndents().size(), 3u);

    const std::vector<std::exception_ptr> failures =
        word->setIndents({{0, true, 0}, {1, true, 0}, {1, false, 0}, {2, false, 0}, {9, true, 0}});
    ASSERT_EQ(failures.size(), 5u);
    const QString refused = QStringLiteral("The indent of this paragraph cannot be changed.");
    EXPECT_EQ(descriptionOf(failures[0]), QString());
    EXPECT_EQ(descriptionOf(failures[1]), refused);
    EXPECT_EQ(descriptionOf(failures[2]), refused);
    EXPECT_EQ(descriptionOf(failures[3]), QString());
    EXPECT_EQ(descriptionOf(failures[4]),
              QStringLiteral("The requested member of the collection does not exist."));
    EXPECT_EQ(word->paragraphIndents(),
              (std::vector<wordclient::ParagraphIndents>{{0, 0}, {-3, -2}, {0, 0}}));

    // One write alone fails at its own call; the call after it goes well.
    try {
        word->setLeftIndent(1, 0);
        ADD_FAILURE() << "the refused write went unnoticed";
    } catch (const platform::AppError& error) {
        EXPECT_EQ(error.description(), refused);
    }
    EXPECT_NO_THROW(word->selectionGoTo(wordclient::wd::GoToPage, wordclient::wd::GoToNext, 2));
    word->activeDocumentClose(wordclient::wd::DoNotSaveChanges);
    word->quit();
}

TEST_F(IndentWritesTest, AConversionReportsEachRefusedWriteAtItsOwnStep) {
    QTemporaryDir out;
    testsupport::ConversionTestWindow window;
    window.outputFolder = out.path() + QLatin1Char('/');
    testsupport::RecordingDialogs dialogs;
    Word1::SaveDocAsPCX(window, document);

    QStringList steps;
    for (const auto& box : dialogs.errorReports())
        steps << box.text.section(QStringLiteral("at line "), 1).section(QLatin1Char('\r'), 0, 0);
    // Both pages walk the paragraphs; paragraph 1's two writes fail in both walks, nothing else.
    EXPECT_EQ(steps, (QStringList{"154", "158", "154", "158"}));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{"outdented_1.pcx", "outdented_2.pcx"}));
}

}  // namespace
