#include "tests/faults/FaultRun.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "conversion/Word1.h"
#include "mainwindow/BatchRun.h"
#include "protocol/HostRegistry.h"
#include "tests/support/DocxWriter.h"
#include "tests/support/HostTestSupport.h"
#include "tests/support/Processes.h"
#include "tests/support/ScratchHome.h"

namespace faulttest {

namespace {

// The window as the conversion sees it, telling the test after every page.
class ObservedWindow : public Word1::ConversionWindow {
  public:
    ObservedWindow(Word1::ConversionWindow& window, std::function<void(int)> pageDone)
        : window_(window), pageDone_(std::move(pageDone)) {}
    QString outputFolderText() const override { return window_.outputFolderText(); }
    void setMousePointer(int code) override { window_.setMousePointer(code); }
    void setRenderPicture(const QImage& picture) override { window_.setRenderPicture(picture); }
    QImage renderImage() const override { return window_.renderImage(); }
    // The progress text is set once at the end of every pass, failed or not.
    void setProgressText(const QString& text) override {
        window_.setProgressText(text);
        if (pageDone_) pageDone_(++pages_);
    }

  private:
    Word1::ConversionWindow& window_;
    std::function<void(int)> pageDone_;
    int pages_ = 0;
};

}  // namespace

QString freshFolder(const QString& name) {
    const QString folder = testsupport::scratchFolder(name);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return folder;
}

std::vector<Child> runningChildren() {
    std::vector<Child> children;
    for (const testsupport::ProcessStatus& child : testsupport::livingChildrenOf(::getpid()))
        children.push_back({child.pid, child.name});
    return children;
}

void FaultRun::SetUp() {
    documents = freshFolder(QStringLiteral("documents"));
    temp = qEnvironmentVariable("TEMP");
}

void FaultRun::convertObserved(Word1::ConversionWindow& window, const QString& path, const QString& next) {
    ObservedWindow observed(window, [&](int page) {
        if (afterPage) afterPage(path, page);
    });
    Word1::SaveDocAsPCX(observed, path, {}, next);
    if (afterDocument) afterDocument(path);
}

QString FaultRun::document(const QString& name, int pages) {
    const QString path = documents + QLatin1Char('/') + name;
    testdocx::writeDocx(path.toStdString(), testdocx::pagedText(pages, 4));
    return path;
}

void FaultRun::run(const QString& outputFolder, const QStringList& list) {
    documentsBefore_ = wordhosttest::folderSnapshot(documents);
    form.ListView1->clear();
    for (const QString& path : list) form.ListView1->appendEntry(path);
    form.Text1->setText(outputFolder + QLatin1Char('/'));
    form.PushButton2_Click();
}

QStringList FaultRun::reports() const {
    static const QRegularExpression pattern(QStringLiteral("^(.*)\r\nin [^ ]+ at line (\\d+)\r\r"),
                                            QRegularExpression::DotMatchesEverythingOption);
    QStringList result;
    for (const auto& report : dialogs.errorReports()) {
        const QRegularExpressionMatch match = pattern.match(report.text);
        result << (match.hasMatch() ? match.captured(2) + QStringLiteral(": ") + match.captured(1)
                                    : report.text);
    }
    return result;
}

QStringList FaultRun::pcxFiles(const QString& folder) const {
    return QDir(folder).entryList({QStringLiteral("*.pcx")}, QDir::Files, QDir::Name);
}

void FaultRun::expectCleanEnd(const QString& outputFolder) {
    ASSERT_FALSE(dialogs.messageTexts().isEmpty());
    EXPECT_EQ(dialogs.messageTexts().back(), QStringLiteral("Done."));
    const auto now = wordhosttest::folderSnapshot(documents);
    for (const auto& [name, bytes] : documentsBefore_) {
        const auto still = now.find(name);
        if (still == now.end()) continue;  // removed by the test itself
        EXPECT_EQ(still->second, bytes) << name << " changed";
    }
    EXPECT_EQ(QDir(outputFolder).entryList({QStringLiteral("*.bmp"), QStringLiteral("*.jpg")}, QDir::Files),
              QStringList());
    EXPECT_FALSE(QFile::exists(temp + QStringLiteral("/nconvert.exe")));
    // Hosts end by themselves once their channel closes; killed ones are reaped in the background.
    // One spare host, warmed for the next document and no running Word, may stay.
    const auto leftOver = [] {
        QStringList names;
        int spares = 0;
        const std::vector<int> registered = protocol::runningHosts();
        for (const Child& child : runningChildren()) {
            const bool host = child.name.rfind("marrowdale-word", 0) == 0;
            const bool running =
                std::find(registered.begin(), registered.end(), child.pid) != registered.end();
            if (host && !running && ++spares == 1) continue;
            names << QString::fromStdString(child.name + " " + std::to_string(child.pid));
        }
        return names;
    };
    EXPECT_TRUE(wordhosttest::waitUntil([&] { return leftOver().isEmpty(); }, 15000))
        << leftOver().join(QStringLiteral(", ")).toStdString();
    // Every host's private folder goes with it, also when the host was killed; a spare keeps its own.
    EXPECT_TRUE(wordhosttest::waitUntil([&] { return engineFoldersWithoutHost() <= 0; }, 15000))
        << engineFolders().join(QStringLiteral(", ")).toStdString();
}

QStringList engineFolders() {
    return QDir(qEnvironmentVariable("TMPDIR"))
        .entryList({QStringLiteral("marrowdale-wordhost-*")}, QDir::Dirs);
}

long engineFoldersWithoutHost() {
    const std::vector<Child> children = runningChildren();
    const long hostsAlive = std::count_if(children.begin(), children.end(), [](const Child& child) {
        return child.name.rfind("marrowdale-word", 0) == 0;
    });
    return static_cast<long>(engineFolders().size()) - hostsAlive;
}

}  // namespace faulttest
