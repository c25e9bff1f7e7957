// Folders the user may not read, seen through the probe program. Root reads every folder, so
// as root the probe runs as "nobody" on a tree under /tmp that nobody can reach.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>

#include "tests/support/FolderOrder.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestTree.h"

using testsupport::TestTree;

namespace {

class UnreadableFolders : public ::testing::Test {
  protected:
    void SetUp() override {
        probe_ = tree_.path(QStringLiteral("probe"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(FOLDER_PROBE), probe_));
        ASSERT_TRUE(QFile::setPermissions(probe_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                      QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup |
                                                      QFile::ExeGroup));
    }

    QString folder(const QString& relative) { return tree_.folder(relative); }
    QString path(const QString& relative) { return tree_.path(relative); }
    void lock(const QString& relative, mode_t mode = 0) { tree_.setMode(relative, mode); }

    // The subfolders of `parent` in directory order, less `left`.
    QStringList subfoldersExcept(const QString& parent, const QStringList& left) {
        QStringList paths;
        for (const QString& name : testsupport::directoryOrder(parent)) {
            if (!left.contains(name)) paths << parent + name + QLatin1Char('/');
        }
        return paths;
    }

    // Opens the tree to everyone, locks `locked` folders as given, and runs the probe.
    QStringList collect(const QStringList& seeds, const QList<QPair<QString, mode_t>>& locked) {
        tree_.openAllFolders();
        for (const auto& [relative, mode] : locked) lock(relative, mode);
        QProcess process;
        if (::geteuid() == 0) {
            process.start(QStringLiteral("setpriv"),
                          QStringList{QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                                      QStringLiteral("--clear-groups"), probe_} +
                              seeds);
        } else {
            process.start(probe_, seeds);
        }
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return QString::fromUtf8(process.readAllStandardOutput())
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

  private:
    TestTree tree_{QStringLiteral("/tmp"), 0755};
    QString probe_;
};

}  // namespace

TEST_F(UnreadableFolders, LockedSubfolderIsDroppedWithItsSubtreeSiblingsStillWalked) {
    const QString s = folder(QStringLiteral("S"));
    folder(QStringLiteral("S/ok1/deep"));
    folder(QStringLiteral("S/locked/inner"));
    folder(QStringLiteral("S/ok2"));
    const QStringList expected = QStringList{s} + subfoldersExcept(s, {QStringLiteral("locked")}) +
                                 QStringList{s + QStringLiteral("ok1/deep/")};
    EXPECT_EQ(collect({s}, {{QStringLiteral("S/locked"), 0}}), expected);
}

TEST_F(UnreadableFolders, SeveralLockedFoldersOnOneLevelAreAllDropped) {
    const QString s = folder(QStringLiteral("S"));
    folder(QStringLiteral("S/lockA/x"));
    folder(QStringLiteral("S/lockB/y"));
    folder(QStringLiteral("S/ok/z"));
    // Listable but not enterable: its subfolders could not be reached either.
    folder(QStringLiteral("S/peek/sub"));
    EXPECT_EQ(collect({s}, {{QStringLiteral("S/lockA"), 0},
                            {QStringLiteral("S/lockB"), 0},
                            {QStringLiteral("S/peek"), 0444}}),
              (QStringList{s, s + QStringLiteral("ok/"), s + QStringLiteral("ok/z/")}));
}

TEST_F(UnreadableFolders, LockedSeedIsRemovedOtherSeedsStay) {
    const QString locked = folder(QStringLiteral("locked"));
    folder(QStringLiteral("locked/inner"));
    const QString open = folder(QStringLiteral("open"));
    folder(QStringLiteral("open/sub"));
    EXPECT_EQ(collect({locked}, {{QStringLiteral("locked"), 0}}), QStringList());
    EXPECT_EQ(collect({locked, open, locked}, {{QStringLiteral("locked"), 0}}),
              (QStringList{open, open + QStringLiteral("sub/")}));
}
