// Listing the matching files of one folder.
#include <gtest/gtest.h>

#include "fsutil/AddFolder.h"
#include "platform/AppError.h"
#include "tests/support/FolderOrder.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestTree.h"

using testsupport::TestTree;

namespace {
QStringList sorted(QStringList names) {
    names.sort();
    return names;
}
}  // namespace

TEST(ListFilesInFolder, EmptyFolderAndNoMatchGiveNothing) {
    TestTree tree;
    const QString empty = tree.folder(QStringLiteral("empty"));
    EXPECT_TRUE(AddFolder::ListFilesInFolder(empty, QStringLiteral("*.*")).isEmpty());
    tree.file(QStringLiteral("full/a.txt"));
    EXPECT_TRUE(
        AddFolder::ListFilesInFolder(tree.path(QStringLiteral("full")), QStringLiteral("*.doc")).isEmpty());
}

TEST(ListFilesInFolder, FilesOnlyHiddenIncludedAnyCase) {
    TestTree tree;
    const QString folder = tree.folder(QStringLiteral("docs"));
    tree.file(QStringLiteral("docs/a.doc"));
    tree.file(QStringLiteral("docs/B.DOC"));
    tree.file(QStringLiteral("docs/.hidden.doc"));
    tree.file(QStringLiteral("docs/locked.doc"));
    tree.setMode(QStringLiteral("docs/locked.doc"), 0);
    tree.file(QStringLiteral("docs/c.docx"));
    tree.file(QStringLiteral("docs/README"));
    tree.folder(QStringLiteral("docs/folder.doc"));
    tree.link(tree.path(QStringLiteral("docs/folder.doc")), QStringLiteral("docs/folder-link.doc"));
    tree.link(tree.path(QStringLiteral("docs/a.doc")), QStringLiteral("docs/file-link.doc"));
    tree.link(tree.path(QStringLiteral("docs/gone.doc")), QStringLiteral("docs/dangling.doc"));

    const QStringList docs = AddFolder::ListFilesInFolder(folder, QStringLiteral("*.doc"));
    EXPECT_EQ(sorted(docs),
              (QStringList{QStringLiteral(".hidden.doc"), QStringLiteral("B.DOC"), QStringLiteral("a.doc"),
                           QStringLiteral("file-link.doc"), QStringLiteral("locked.doc")}));
    // Listing order is the directory's own.
    QStringList inDirectoryOrder = testsupport::directoryOrder(folder);
    inDirectoryOrder.removeIf([&](const QString& name) { return !docs.contains(name); });
    EXPECT_EQ(docs, inDirectoryOrder);

    EXPECT_EQ(AddFolder::ListFilesInFolder(folder.chopped(1), QStringLiteral("*.doc")), docs);
    EXPECT_EQ(AddFolder::ListFilesInFolder(folder, QStringLiteral("*.*")).size(),
              docs.size() + 2);  // + c.docx, README
}

TEST(ListFilesInFolder, MissingFolderFailsToTheCaller) {
    TestTree tree;
    try {
        AddFolder::ListFilesInFolder(tree.path(QStringLiteral("missing")), QStringLiteral("*.*"));
        ADD_FAILURE() << "no error";
    } catch (const platform::AppError& error) {
        EXPECT_EQ(error.number(), 76);
    }
}
