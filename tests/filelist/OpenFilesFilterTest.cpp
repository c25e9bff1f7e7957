#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSet>

#include "platform/QtDialogs.h"
#include "tests/support/Polling.h"
#include "tests/support/TestTree.h"

namespace {

const QString kFilter = QStringLiteral("Word Documents (*.do*)|*.do*|All Files (*.*)|*.*");

TEST(OpenFilesFilter, ThePipeFormBecomesQtsFormWithEveryFileForStarDotStar) {
    EXPECT_EQ(platform::qtNameFilters(kFilter), QStringLiteral("Word Documents (*.do*);;All Files (*)"));
    EXPECT_EQ(platform::qtNameFilters(QStringLiteral("Pictures|*.png;*.jpg")),
              QStringLiteral("Pictures (*.png *.jpg)"));
}

// The names Qt's own file dialog shows in `folder` under the filter `nameFilter`.
QSet<QString> shownNames(const QString& folder, const QString& nameFilter) {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(platform::qtNameFilters(kFilter).split(QStringLiteral(";;")));
    dialog.selectNameFilter(nameFilter);
    dialog.setDirectory(folder);
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (model == nullptr) return {};
    const QModelIndex root = model->index(folder);
    // The model reads the folder in the background; wait until it has.
    testsupport::waitUntil(
        [&] {
            if (model->canFetchMore(root)) model->fetchMore(root);
            return !model->canFetchMore(root) && model->rowCount(root) > 0;
        },
        20000);
    QApplication::processEvents(QEventLoop::AllEvents, 200);
    QSet<QString> names;  // names the filter leaves out are not rows of the model
    for (int row = 0; row < model->rowCount(root); ++row)
        names << model->fileName(model->index(row, 0, root));
    return names;
}

TEST(OpenFilesFilter, AllFilesShowsNamesWithoutADotAndWordDocumentsOnlyDocuments) {
    testsupport::TestTree tree;
    tree.file(QStringLiteral("README"));
    tree.file(QStringLiteral("report.docx"));
    tree.file(QStringLiteral("notes.txt"));
    EXPECT_EQ(shownNames(tree.root(), QStringLiteral("All Files (*)")),
              (QSet<QString>{"README", "report.docx", "notes.txt"}));
    EXPECT_EQ(shownNames(tree.root(), QStringLiteral("Word Documents (*.do*)")),
              (QSet<QString>{"report.docx"}));
}

}  // namespace
