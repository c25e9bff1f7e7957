// The folder walk on real trees: order, hidden folders, links, unsafe names, one level.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>

#include "fsutil/AddFolder.h"
#include "platform/AppError.h"
#include "tests/support/FolderOrder.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestTree.h"

using testsupport::directoryOrder;
using testsupport::TestTree;

namespace {

QStringList collected(QStringList folders, bool recurse = true) {
    AddFolder::CollectSubfolders(folders, recurse);
    return folders;
}

QStringList subfoldersInOrder(const QString& folder) {
    QStringList paths;
    for (const QString& name : directoryOrder(folder)) {
        if (QFileInfo(folder + name).isDir()) paths << folder + name + QLatin1Char('/');
    }
    return paths;
}

}  // namespace

TEST(CollectSubfolders, BreadthFirstLevelByLevelGroupedByParent) {
    TestTree tree;
    const QString a = tree.folder(QStringLiteral("A"));
    tree.folder(QStringLiteral("A/B/D/F"));
    tree.folder(QStringLiteral("A/C/E"));
    tree.file(QStringLiteral("A/B/notes.doc"));

    QStringList expected{a};
    const QStringList firstLevel = subfoldersInOrder(a);
    expected << firstLevel;
    QStringList secondLevel;
    for (const QString& parent : firstLevel) secondLevel << subfoldersInOrder(parent);
    expected << secondLevel;
    expected << a + QStringLiteral("B/D/F/");

    ASSERT_EQ(firstLevel.size(), 2);
    EXPECT_EQ(collected({a}), expected);
}

TEST(CollectSubfolders, HiddenFoldersAreListedAndWalked) {
    TestTree tree;
    const QString a = tree.folder(QStringLiteral("A"));
    tree.folder(QStringLiteral("A/.hidden/inner"));
    EXPECT_EQ(collected({a}),
              (QStringList{a, a + QStringLiteral(".hidden/"), a + QStringLiteral(".hidden/inner/")}));
}

TEST(CollectSubfoldersLinks, LinkedFoldersAreNeitherListedNorWalked) {
    TestTree tree;
    const QString a = tree.folder(QStringLiteral("A"));
    tree.folder(QStringLiteral("A/B"));
    tree.folder(QStringLiteral("outside/deep"));
    tree.file(QStringLiteral("outside/file.doc"));
    tree.link(tree.root(), QStringLiteral("A/B/loop"));  // a link to an ancestor
    tree.link(tree.path(QStringLiteral("outside")), QStringLiteral("A/elsewhere"));
    tree.link(tree.path(QStringLiteral("outside/file.doc")), QStringLiteral("A/file-link"));
    tree.link(tree.path(QStringLiteral("nothing")), QStringLiteral("A/dangling"));

    EXPECT_EQ(collected({a}), (QStringList{a, a + QStringLiteral("B/")}));
}

TEST(CollectSubfoldersLinks, SeedThatIsALinkStaysAndIsWalked) {
    TestTree tree;
    tree.folder(QStringLiteral("real/sub"));
    tree.link(tree.path(QStringLiteral("real")), QStringLiteral("seed"));
    tree.link(tree.path(QStringLiteral("real")), QStringLiteral("real/sub/back"));
    const QString seed = tree.path(QStringLiteral("seed/"));
    EXPECT_EQ(collected({seed}), (QStringList{seed, seed + QStringLiteral("sub/")}));
}

TEST(CollectSubfolders, UnsafeNamesAreSkippedWithTheirSubtree) {
    TestTree tree;
    const QString a = tree.folder(QStringLiteral("A"));
    for (const QString& name : {QStringLiteral("what?"), QStringLiteral("bell\a"), QStringLiteral("del\x7f"),
                                QStringLiteral("next\u0085line")}) {
        tree.folder(QStringLiteral("A/") + name + QStringLiteral("/below"));
    }
    const QByteArray latin1Name = QFile::encodeName(a) + "caf\xe9";  // not UTF-8
    ASSERT_EQ(::mkdir(latin1Name.constData(), 0755), 0);
    ASSERT_EQ(::mkdir((latin1Name + "/below").constData(), 0755), 0);
    tree.folder(QStringLiteral("A/café 日本"));

    EXPECT_EQ(collected({a}), (QStringList{a, a + QStringLiteral("café 日本/")}));
}

TEST(CollectSubfolders, WithoutRecurseOnlyOneLevel) {
    TestTree tree;
    const QString a = tree.folder(QStringLiteral("A"));
    tree.folder(QStringLiteral("A/B/D"));
    EXPECT_EQ(collected({a}, false), (QStringList{a, a + QStringLiteral("B/")}));
}

TEST(CollectSubfolders, RootSeedIsWalkedWithoutDoubleSlashes) {
    const QStringList folders = collected({QStringLiteral("/")}, false);
    ASSERT_GT(folders.size(), 1);
    EXPECT_EQ(folders.front(), QStringLiteral("/"));
    EXPECT_TRUE(folders.contains(QStringLiteral("/tmp/")));
    for (const QString& folder : folders)
        EXPECT_FALSE(folder.contains(QStringLiteral("//"))) << folder.toStdString();
}

TEST(CollectSubfolders, SeedThatIsNoFolderFailsToTheCaller) {
    TestTree tree;
    const QString a = tree.folder(QStringLiteral("A"));
    const QString file = tree.file(QStringLiteral("A/report.doc"));
    for (const QString& seed : {tree.path(QStringLiteral("missing/")), file + QLatin1Char('/'), file}) {
        QStringList folders{a, seed};
        try {
            AddFolder::CollectSubfolders(folders, true);
            ADD_FAILURE() << "no error for " << seed.toStdString();
        } catch (const platform::AppError& error) {
            EXPECT_EQ(error.number(), 76);
        }
        EXPECT_EQ(folders, (QStringList{a, seed}));
    }
}
