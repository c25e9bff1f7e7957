#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "mainwindow/BatchRun.h"
#include "mainwindow/Form1.h"
#include "platform/Services.h"
#include "tests/support/RecordingDialogs.h"

namespace faulttest {

// A batch run of the real window with the real engine host and converter, with hooks that let a
// test break something between two pages or two documents.
class FaultRun : public ::testing::Test {
  protected:
    void SetUp() override;

    // A document of `pages` pages in the documents folder.
    QString document(const QString& name, int pages);
    // Sets the output folder text and presses "Start Saving As PCX" with these documents listed.
    void run(const QString& outputFolder, const QStringList& documents);

    // "N: description" of every error report of the run, in order.
    QStringList reports() const;
    // The PCX files of the folder, by name.
    QStringList pcxFiles(const QString& folder) const;

    // What every fault must leave as it was: the run ended with "Done.", the documents are
    // unchanged, and no ".bmp", ".jpg", converter file, engine host or converter process remains.
    void expectCleanEnd(const QString& outputFolder);

    // Called after the page `page` (1, 2, ...) of a document is done, and after every document.
    std::function<void(const QString& document, int page)> afterPage;
    std::function<void(const QString& document)> afterDocument;

    testsupport::RecordingDialogs dialogs;
    mainwindow::Form1 form;
    QString documents;  // the documents folder
    QString temp;       // TEMP of the run

  private:
    // The conversion itself, telling afterPage and afterDocument.
    void convertObserved(Word1::ConversionWindow& window, const QString& path, const QString& next);

    std::map<std::string, std::string> documentsBefore_;
    const platform::services::Override<mainwindow::DocumentConverterService> observingConverter_{
        [this](Word1::ConversionWindow& window, const QString& path, const QString& next) {
            convertObserved(window, path, next);
        }};
};

// The engines' private folders in TMPDIR, and how many more of them there are than hosts alive.
QStringList engineFolders();
long engineFoldersWithoutHost();

// A folder in the scratch home, made empty.
QString freshFolder(const QString& name);

// Processes started by this test program that are still running (zombies not counted).
struct Child {
    int pid;
    std::string name;  // as the kernel keeps it: at most 15 characters
};
std::vector<Child> runningChildren();

}  // namespace faulttest
