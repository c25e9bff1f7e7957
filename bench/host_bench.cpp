// host_bench: what the engine host costs the conversion. Makes a 30-page document with pandoc
// (or takes one: host_bench [DOCUMENT]) and prints the time of host start, open, layout and each
// page as the conversion drives it (indent walk, GoTo, 100 MoveUp, Text, Cut onto the clipboard).
// It runs twice: asking for pages back to back (the worst case for drawing ahead), and with
// 150 ms of the client's own work per page (writing the picture files and running the converter).
// Then the whole conversion (SaveDocAsPCX: PCX files through JPEG and the converter) of the same
// document with a fresh engine and with the spare one.
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "conversion/ConversionWindow.h"
#include "conversion/Word1.h"
#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "platform/ProgramFolder.h"
#include "platform/Services.h"
#include "wordclient/HostWordFactory.h"

namespace {

QString makeDocument(const QString& folder) {
    QString markdown;
    for (int section = 1; section <= 30; ++section) {
        markdown += QStringLiteral("# Section %1\n\n").arg(section);
        for (int paragraph = 1; paragraph <= 7; ++paragraph) {
            markdown += QStringLiteral("Paragraph %1 of section %2. ").arg(paragraph).arg(section);
            for (int word = 0; word < 12; ++word)
                markdown += QStringLiteral("The quick brown fox jumps over the lazy dog. ");
            markdown += QStringLiteral("\n\n");
        }
    }
    const QString source = folder + QStringLiteral("/bench.md");
    QFile file(source);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(markdown.toUtf8());
    file.close();
    const QString document = folder + QStringLiteral("/bench.docx");
    if (QProcess::execute(QStringLiteral("pandoc"), {source, QStringLiteral("-o"), document}) != 0) return {};
    return document;
}

double ms(QElapsedTimer& timer) {
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    return elapsed;
}

bool run(const QString& document, int clientWorkMs) {
    try {
        QElapsedTimer total;
        total.start();
        QElapsedTimer timer;
        timer.start();
        auto word = wordclient::hostWordFactory().createObject();
        const double start = ms(timer);
        word->documentsOpen(document);
        const double open = ms(timer);
        word->activeDocumentRepaginate();
        const int pages = word->builtInDocumentProperty(wordclient::wd::PropertyPages).toInt();
        const double layout = ms(timer);
        word->setPageFit(wordclient::wd::PageFitBestFit);

        std::vector<double> cuts;
        std::vector<double> pagesTotal;
        const int passes = std::max(pages, 1);
        for (int pass = 1; pass <= passes; ++pass) {
            QElapsedTimer page;
            page.start();
            for (const wordclient::ParagraphIndents& indents : word->paragraphIndents()) (void)indents;
            if (pass == passes) {
                word->selectionEndKey(wordclient::wd::Story, wordclient::wd::Extend);
            } else {
                word->selectionGoTo(wordclient::wd::GoToPage, wordclient::wd::GoToNext, 2);
                for (int i = 0; i < 100; ++i) {
                    QCoreApplication::processEvents();
                    word->selectionMoveUp(wordclient::wd::Line, 200, wordclient::wd::Extend);
                }
            }
            if (!word->selectionText().isEmpty()) {
                timer.restart();
                word->selectionCut();
                (void)QGuiApplication::clipboard()->image();
                cuts.push_back(ms(timer));
            }
            pagesTotal.push_back(double(page.nsecsElapsed()) / 1e6);
            QElapsedTimer work;
            work.start();
            while (work.elapsed() < clientWorkMs)
                QCoreApplication::processEvents(QEventLoop::AllEvents, clientWorkMs);
        }
        timer.restart();
        word->setPageFit(0);
        word->activeDocumentClose(wordclient::wd::DoNotSaveChanges);
        word->quit();
        const double finish = ms(timer);

        std::sort(cuts.begin(), cuts.end());
        std::sort(pagesTotal.begin(), pagesTotal.end());
        const auto median = [](const std::vector<double>& v) { return v.empty() ? 0.0 : v[v.size() / 2]; };
        const auto worst = [](const std::vector<double>& v) { return v.empty() ? 0.0 : v.back(); };
        std::printf("\n%s page by page, %d ms of client work per page\n",
                    clientWorkMs == 0 ? "Back to back" : "Conversion-like", clientWorkMs);
        std::printf("document            %s (%d pages)\n", qPrintable(document), pages);
        std::printf("host start          %7.1f ms\n", start);
        std::printf("open                %7.1f ms\n", open);
        std::printf("start + open        %7.1f ms   (goal 1000 ms)\n", start + open);
        std::printf("layout (page count) %7.1f ms\n", layout);
        std::printf("page picture (cut)  %7.1f ms median, %7.1f ms worst   (goal 80 ms)\n", median(cuts),
                    worst(cuts));
        std::printf("page, all calls     %7.1f ms median, %7.1f ms worst\n", median(pagesTotal),
                    worst(pagesTotal));
        std::printf("close + quit        %7.1f ms\n", finish);
        std::printf("whole document      %7.1f ms (%7.1f ms without the client work)\n",
                    double(total.nsecsElapsed()) / 1e6,
                    double(total.nsecsElapsed()) / 1e6 - double(clientWorkMs) * passes);
    } catch (const platform::AppError& error) {
        std::fprintf(stderr, "host_bench: %s (%ld)\n", error.what(), error.number());
        return false;
    }
    return true;
}

// The parts of the main window the conversion uses.
class BenchWindow : public Word1::ConversionWindow {
  public:
    QString folder;
    QString outputFolderText() const override { return folder; }
    void setProgressText(const QString&) override {}
    void setMousePointer(int) override {}
    void setRenderPicture(const QImage& picture) override { picture_ = picture; }
    QImage renderImage() const override { return picture_; }

  private:
    QImage picture_;
};

// Prints every box instead of waiting for an answer.
class PrintingDialogs : public platform::Dialogs {
  public:
    int shown = 0;
    platform::MessageAnswer messageBox(QWidget*, const QString& text, const QString&,
                                       platform::MessageButtons, platform::MessageIcon) override {
        ++shown;
        std::fprintf(stderr, "box: %s\n", qPrintable(text));
        return platform::MessageAnswer::Ok;
    }
    QString inputBox(QWidget*, const QString&, const QString&, const QString& proposed) override {
        return proposed;
    }
    QString browseForFolder(QWidget*, const QString&) override { return {}; }
    QString openFiles(QWidget*, const QString&, const QString&) override { return {}; }
};

void convertWhole(const QString& document, const char* what) {
    QTemporaryDir out;
    BenchWindow window;
    window.folder = out.path() + QLatin1Char('/');
    PrintingDialogs dialogs;
    const platform::services::Override<platform::Dialogs> printing(&dialogs);
    QElapsedTimer timer;
    timer.start();
    Word1::SaveDocAsPCX(window, document);
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    const int files =
        static_cast<int>(QDir(out.path()).entryList({QStringLiteral("*.pcx")}, QDir::Files).size());
    std::printf("\nWhole conversion, %s: %d PCX files in %7.1f ms (%d boxes)\n", what, files, elapsed,
                dialogs.shown);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const platform::services::Override<platform::ProgramFolderService> builtProgramFolder(
        QCoreApplication::applicationDirPath() + QStringLiteral("/../bin"));
    QTemporaryDir scratch;
    // The converter file goes to TEMP: a folder of our own, shared with no other run on the machine.
    qputenv("TEMP", scratch.path().toLocal8Bit());
    const QString document = argc > 1 ? QString::fromLocal8Bit(argv[1]) : makeDocument(scratch.path());
    if (document.isEmpty()) {
        std::fprintf(stderr, "host_bench: cannot make the document (is pandoc installed?)\n");
        return 1;
    }
    for (const int work : {0, 150}) {
        if (!run(document, work)) return 1;
    }
    convertWhole(document, "with the spare engine");
    QThread::sleep(3);  // the next spare warms up
    convertWhole(document, "after the spare warmed up");
    return 0;
}
