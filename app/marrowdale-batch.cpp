// marrowdale-batch --out DIR DOC...
// A driver for checks and benchmarks: runs the real main window on the offscreen platform, puts the
// documents in its list, sets the output folder and presses "Start Saving As PCX". Every box is
// answered (Yes to the question, OK to the rest) and printed on standard error; one JSON line per
// document goes to standard output.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

#include "conversion/Word1.h"
#include "filelist/FileListView.h"
#include "mainwindow/Form1.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "shared/LargeBuffers.h"

namespace {

// Answers every box and prints it, one line each.
class AnsweringDialogs : public platform::Dialogs {
  public:
    QString lastMessage;

    platform::MessageAnswer messageBox(QWidget*, const QString& text, const QString& caption,
                                       platform::MessageButtons buttons, platform::MessageIcon) override {
        print(caption, text);
        lastMessage = text;
        return buttons == platform::MessageButtons::YesNo ? platform::MessageAnswer::Yes
                                                          : platform::MessageAnswer::Ok;
    }
    QString inputBox(QWidget*, const QString& prompt, const QString& caption,
                     const QString& proposed) override {
        print(caption, prompt);
        return proposed;
    }
    QString browseForFolder(QWidget*, const QString& title) override {
        print(QStringLiteral("folder"), title);
        return QString();
    }
    QString openFiles(QWidget*, const QString& title, const QString&) override {
        print(QStringLiteral("files"), title);
        return QString();
    }

  private:
    static void print(const QString& caption, QString text) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
            .replace(QLatin1Char('\r'), QLatin1Char(' '));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
        std::fflush(stderr);
    }
};

void printJson(const QJsonObject& object) {
    std::printf("%s\n", QJsonDocument(object).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

int usage() {
    std::fprintf(stderr, "usage: marrowdale-batch --out DIR DOC...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    shared::restartWithHugePageHeap(argv);
    shared::reuseLargeBuffers();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QStringList args = app.arguments().mid(1);
    if (args.size() < 2 || args.front() != QLatin1String("--out")) return usage();
    const QString outDir = QFileInfo(args.at(1)).absoluteFilePath();
    const QStringList documents = args.mid(2);

    // The window stores its output folder on every change: keep the driver's out of the user's settings.
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());

    AnsweringDialogs dialogs;
    const platform::services::Override<platform::Dialogs> answering(&dialogs);
    // The window opens the maker's home page now and then: a driver never starts a browser.
    const platform::services::Override<platform::UrlOpenerService> noBrowser([](const QUrl& url) {
        std::fprintf(stderr, "open: %s\n", qPrintable(url.toString()));
        return true;
    });

    mainwindow::Form1 form;
    form.Form_Load();

    QElapsedTimer total;
    QElapsedTimer perDocument;
    form.setConversionObserver([&](const QString& document, int pcxWritten) {
        printJson({{QStringLiteral("doc"), document},
                   {QStringLiteral("pcx"), pcxWritten},
                   {QStringLiteral("seconds"), perDocument.elapsed() / 1000.0}});
        perDocument.restart();
    });

    auto* list = form.findChild<filelist::FileListView*>(QStringLiteral("ListView1"));
    auto* text1 = form.findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* start = form.findChild<QPushButton*>(QStringLiteral("PushButton2"));
    if (list == nullptr || text1 == nullptr || start == nullptr) return 3;
    for (const QString& document : documents) {
        list->appendEntry(QFileInfo(document).isRelative() ? QFileInfo(document).absoluteFilePath()
                                                           : document);
    }
    text1->setText(outDir.endsWith(QLatin1Char('/')) ? outDir : outDir + QLatin1Char('/'));

    total.start();
    perDocument.start();
    start->click();
    printJson({{QStringLiteral("total_seconds"), total.elapsed() / 1000.0}});
    return dialogs.lastMessage == QLatin1String("Done.") ? 0 : 1;
}
