// The real Qt boxes as the user meets them: answered from a timer while they are open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "filelist/AddFilesByDialog.h"
#include "platform/QtDialogs.h"
#include "tests/filelist/TestListWindow.h"
#include "tests/support/FolderOrder.h"
#include "tests/support/TestTree.h"

namespace {

// Runs `act` on the modal dialog of type D as soon as it is shown.
template <class D>
void whenShown(std::function<void(D*)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        act(dialog);
    });
    poll->start(20);
}

// Types `names` into the file dialog's name box, as a user does, and presses Open.
void typeAndOpen(QFileDialog* box, const QString& names) {
    auto* nameBox = box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(nameBox, nullptr);
    nameBox->setText(names);
    static_cast<QDialog*>(box)->accept();
}

const QString kPrompt = QStringLiteral(
    "Enter file extension to load:\r\r(* for all files, txt for all txt files, "
    "doc for all doc files, etc.)");

TEST(QtBoxes, TheTwoCarriageReturnsOfATextShowAsLineBreaks) {
    platform::QtDialogs dialogs;
    QString shownPrompt;
    whenShown<QInputDialog>([&](QInputDialog* box) {
        shownPrompt = box->labelText();
        box->accept();
    });
    EXPECT_EQ(dialogs.inputBox(nullptr, kPrompt, QStringLiteral("Marrowdale"), QStringLiteral("doc")),
              QStringLiteral("doc"));
    EXPECT_EQ(shownPrompt,
              QStringLiteral("Enter file extension to load:\n\n(* for all files, txt for all txt "
                             "files, doc for all doc files, etc.)"));

    QString shownText;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        shownText = box->text();
        box->accept();
    });
    dialogs.messageBox(nullptr, QStringLiteral("first\r\rsecond"), QStringLiteral("Marrowdale"),
                       platform::MessageButtons::Ok, platform::MessageIcon::None);
    EXPECT_EQ(shownText, QStringLiteral("first\n\nsecond"));
}

// A window manager draws the caption bold beside an icon and up to three buttons.
int widthForCaption(const QString& caption) {
    QFont bold = QApplication::font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(caption) + 4 * 24 + 16;
}

TEST(QtBoxes, EveryMessageBoxIsWideEnoughForItsWholeCaption) {
    platform::QtDialogs dialogs;
    for (const QString& caption : {QStringLiteral("Marrowdale"), QStringLiteral("Application Error"),
                                   QStringLiteral("Marrowdale Batch Converter for Word Documents")}) {
        int shownWidth = 0;
        whenShown<QMessageBox>([&](QMessageBox* box) {
            shownWidth = box->width();
            box->accept();
        });
        dialogs.messageBox(nullptr, QStringLiteral("Done."), caption, platform::MessageButtons::Ok,
                           platform::MessageIcon::None);
        EXPECT_GE(shownWidth, widthForCaption(caption)) << caption.toStdString();
    }
}

// The file dialog opens in the documents folder first, then wherever it last ended with OK in
// this session, never in the working folder; the folder picker keeps to the desktop.
TEST(QtBoxes, TheFileDialogReopensWhereItWasLastUsedAndStartsInTheDocuments) {
    testsupport::TestTree elsewhere;
    const QString picked = elsewhere.file(QStringLiteral("in/report.docx"));
    const QString documents = QDir::homePath() + QStringLiteral("/Documents");
    ASSERT_TRUE(QDir().mkpath(documents));
    const QString savedWorking = QDir::currentPath();
    QDir::setCurrent(elsewhere.root());

    platform::QtDialogs dialogs;
    const auto openAndAnswer = [&](const std::function<void(QFileDialog*)>& answer) {
        QString startedIn;
        whenShown<QFileDialog>([&](QFileDialog* box) {
            startedIn = box->directory().absolutePath();
            answer(box);
        });
        dialogs.openFiles(nullptr, QStringLiteral("Add File(s)"), QStringLiteral("All Files (*.*)|*.*"));
        return startedIn;
    };
    EXPECT_EQ(openAndAnswer([&](QFileDialog* box) { typeAndOpen(box, picked); }), documents);
    EXPECT_EQ(openAndAnswer([](QFileDialog* box) {
                  box->setDirectory(QDir::rootPath());
                  box->reject();
              }),
              elsewhere.root() + QStringLiteral("/in"));
    EXPECT_EQ(openAndAnswer([](QFileDialog* box) { box->reject(); }),
              elsewhere.root() + QStringLiteral("/in"));

    QString pickerStartedIn;
    whenShown<QFileDialog>([&](QFileDialog* box) {
        pickerStartedIn = box->directory().absolutePath();
        box->reject();
    });
    dialogs.browseForFolder(nullptr, QStringLiteral("Please select folder:"));
    EXPECT_EQ(pickerStartedIn, QDir::homePath() + QStringLiteral("/Desktop"));
    QDir::setCurrent(savedWorking);
}

TEST(QtBoxes, FilesTypedFromTwoFoldersAreAddedEachWithItsOwnPath) {
    testsupport::TestTree tree;
    const QString first = tree.file(QStringLiteral("one/a.docx"));
    const QString second = tree.file(QStringLiteral("two/deeper/b.doc"));
    const QString third = tree.file(QStringLiteral("one/c.doc"));
    whenShown<QFileDialog>([&](QFileDialog* box) {
        box->setDirectory(tree.root() + QStringLiteral("/one"));
        typeAndOpen(box, QStringLiteral("\"%1\" \"%2\" \"c.doc\"").arg(first, second));
    });
    testsupport::TestListWindow window;
    filelist::PushButton1_Click(window);
    EXPECT_EQ(window.list().entryTexts(), (QStringList{first, second, third}));
}

TEST(QtBoxes, PickedFilesOfOneFolderComeAsTheFolderAndTheirNames) {
    const QChar nul(u'\0');
    EXPECT_EQ(platform::joinPickedFiles({"/data/in/b.docx", "/data/in/a.doc"}),
              QStringLiteral("/data/in") + nul + "b.docx" + nul + "a.doc");
    EXPECT_EQ(platform::joinPickedFiles({"/a.doc", "/b.doc"}),
              QStringLiteral("/") + nul + "a.doc" + nul + "b.doc");
    EXPECT_EQ(platform::joinPickedFiles({"/data/in/a.doc", "/data/out/x/b.doc", "/data/inner.doc"}),
              QStringLiteral("/data") + nul + "in/a.doc" + nul + "out/x/b.doc" + nul + "inner.doc");
    EXPECT_EQ(platform::joinPickedFiles({"/home/a.doc", "/srv/b.doc"}),
              QStringLiteral("/") + nul + "home/a.doc" + nul + "srv/b.doc");
}

}  // namespace
