// The small helpers: existence, folders, file names, quiet deletion, attributes, desktop folder.
#include <gtest/gtest.h>

#include <QFile>
#include <QTimer>

#include "fsutil/FileAttributes.h"
#include "fsutil/Main.h"
#include "fsutil/PathExists.h"
#include "platform/AppError.h"
#include "tests/support/FolderOrder.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScratchHome.h"
#include "tests/support/TestTree.h"

using testsupport::TestTree;

namespace {

int errorNumberOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const platform::AppError& error) {
        return static_cast<int>(error.number());
    }
    return 0;
}

// Sets an environment variable for one test and puts the old value back.
class EnvOverride {
  public:
    EnvOverride(const char* name, const QString& value)
        : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
        qputenv(name, QFile::encodeName(value));
    }
    ~EnvOverride() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }

  private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

}  // namespace

TEST(FileHelpers, ExistenceAndFolderTests) {
    TestTree tree;
    const QString file = tree.file(QStringLiteral("report.docx"));
    const QString folder = tree.folder(QStringLiteral("Reports"));
    tree.link(tree.path(QStringLiteral("Reports")), QStringLiteral("to-reports"));

    EXPECT_FALSE(Main::FileExists(QString()));
    EXPECT_FALSE(Main::FileExists(tree.path(QStringLiteral("missing.docx"))));
    EXPECT_TRUE(Main::FileExists(file));
    EXPECT_TRUE(Main::FileExists(folder));

    EXPECT_FALSE(Main::IsFolder(QString()));
    EXPECT_FALSE(Main::IsFolder(tree.path(QStringLiteral("missing"))));
    EXPECT_FALSE(Main::IsFolder(file));
    EXPECT_FALSE(Main::IsFolder(file + QLatin1Char('/')));
    EXPECT_TRUE(Main::IsFolder(QStringLiteral("/")));
    EXPECT_TRUE(Main::IsFolder(folder));
    EXPECT_TRUE(Main::IsFolder(folder.chopped(1)));
    EXPECT_TRUE(Main::IsFolder(tree.path(QStringLiteral("to-reports/"))));
}

TEST(FileHelpers, FileNameOfPath) {
    EXPECT_EQ(Main::FileNameOfPath(QStringLiteral("/home/ann/report.docx")), QStringLiteral("report.docx"));
    EXPECT_EQ(Main::FileNameOfPath(QStringLiteral("report.docx")), QStringLiteral("report.docx"));
    EXPECT_EQ(Main::FileNameOfPath(QStringLiteral("/home/ann/")), QString());
    EXPECT_EQ(Main::FileNameOfPath(QString()), QString());
}

TEST(FileHelpers, DeleteFileQuietlyYieldsFirstAndNeverRemovesFolders) {
    TestTree tree;
    const QString file = tree.file(QStringLiteral("page_1.jpg"));
    bool existedWhenEventsRan = false;
    QTimer::singleShot(0, [&] { existedWhenEventsRan = QFile::exists(file); });
    Main::DeleteFileQuietly(file);
    EXPECT_TRUE(existedWhenEventsRan);
    EXPECT_FALSE(QFile::exists(file));

    Main::DeleteFileQuietly(file);  // already gone
    Main::DeleteFileQuietly(QString());
    const QString folder = tree.folder(QStringLiteral("empty"));
    Main::DeleteFileQuietly(folder.chopped(1));
    EXPECT_TRUE(Main::IsFolder(folder));
}

TEST(FileHelpers, PathExistsAnswersForFilesOnly) {
    TestTree tree;
    const QString file = tree.file(QStringLiteral("a.doc"));
    const QString locked = tree.file(QStringLiteral("locked.doc"));
    tree.setMode(QStringLiteral("locked.doc"), 0);
    tree.link(file, QStringLiteral("to-a.doc"));
    tree.link(tree.path(QStringLiteral("gone.doc")), QStringLiteral("dangling.doc"));

    EXPECT_TRUE(Shell32::PathExists(file));
    EXPECT_TRUE(Shell32::PathExists(locked));
    EXPECT_TRUE(Shell32::PathExists(tree.path(QStringLiteral("to-a.doc"))));
    EXPECT_FALSE(Shell32::PathExists(tree.path(QStringLiteral("dangling.doc"))));
    EXPECT_FALSE(Shell32::PathExists(tree.root()));
    EXPECT_FALSE(Shell32::PathExists(tree.path(QStringLiteral("missing.doc"))));
    EXPECT_FALSE(Shell32::PathExists(tree.path(QStringLiteral("*.doc"))));
    EXPECT_FALSE(Shell32::PathExists(QString()));
    // On this file system "*" is an ordinary character: such a file really exists.
    EXPECT_TRUE(Shell32::PathExists(tree.file(QStringLiteral("*.doc"))));
}

TEST(FileHelpers, AttributeValues) {
    using namespace fsutil::Attribute;
    TestTree tree;
    tree.file(QStringLiteral("plain.doc"));
    tree.file(QStringLiteral(".hidden.doc"));
    tree.file(QStringLiteral(".hidden-readonly.doc"));
    tree.setMode(QStringLiteral(".hidden-readonly.doc"), 0444);
    tree.folder(QStringLiteral(".config"));
    tree.link(tree.path(QStringLiteral(".config")), QStringLiteral("to-config"));
    tree.link(tree.path(QStringLiteral("plain.doc")), QStringLiteral("to-plain.doc"));

    EXPECT_EQ(fsutil::FileAttributes(tree.path(QStringLiteral("plain.doc"))), Archive);
    EXPECT_EQ(fsutil::FileAttributes(tree.path(QStringLiteral(".hidden.doc"))), 34);
    EXPECT_EQ(fsutil::FileAttributes(tree.path(QStringLiteral(".hidden-readonly.doc"))), 35);
    EXPECT_EQ(fsutil::FileAttributes(tree.path(QStringLiteral(".config"))), Hidden | Directory);
    EXPECT_EQ(fsutil::FileAttributes(tree.path(QStringLiteral(".config/"))), Hidden | Directory);
    EXPECT_EQ(fsutil::FileAttributes(tree.path(QStringLiteral("to-config/"))), Alias | Directory);
    EXPECT_EQ(fsutil::FileAttributes(tree.path(QStringLiteral("to-plain.doc"))), Alias | Archive);
    EXPECT_EQ(fsutil::FileAttributes(QStringLiteral("/")) & ~ReadOnly, Directory);
    EXPECT_EQ(errorNumberOf([&] { fsutil::FileAttributes(tree.path(QStringLiteral("missing"))); }), 53);
    EXPECT_EQ(errorNumberOf([&] { fsutil::FileAttributes(tree.path(QStringLiteral("plain.doc/"))); }), 53);
}

TEST(DesktopFolder, EndsInExactlyOneSlash) {
    const QString home = testsupport::scratchHome() + QStringLiteral("/home");
    EXPECT_EQ(Main::SpecialFolderPath(0), home + QStringLiteral("/Desktop"));
    EXPECT_EQ(Main::DesktopFolderPath(), home + QStringLiteral("/Desktop/"));
    EXPECT_EQ(Main::SpecialFolderPath(9999), QString());
    EXPECT_EQ(Main::SpecialFolderPath(-1), QString());
}

TEST(DesktopFolder, FollowsTheUserFoldersFileAndFallsBackToHome) {
    TestTree tree;
    const QString home = tree.folder(QStringLiteral("home")).chopped(1);
    const QString config = tree.folder(QStringLiteral("config")).chopped(1);
    EnvOverride homeOverride("HOME", home);
    EnvOverride configOverride("XDG_CONFIG_HOME", config);

    // No desktop folder at all: the home folder.
    EXPECT_EQ(Main::DesktopFolderPath(), home + QLatin1Char('/'));

    // The user-dirs file names a desktop inside home, or home itself with a trailing "/".
    tree.folder(QStringLiteral("home/Work Desk"));
    QFile dirs(config + QStringLiteral("/user-dirs.dirs"));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DESKTOP_DIR=\"$HOME/Work Desk\"\n");
    dirs.close();
    EXPECT_EQ(Main::DesktopFolderPath(), home + QStringLiteral("/Work Desk/"));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly | QIODevice::Truncate));
    dirs.write("XDG_DESKTOP_DIR=\"$HOME/\"\n");
    dirs.close();
    EXPECT_EQ(Main::DesktopFolderPath(), home + QLatin1Char('/'));
}

TEST(DesktopFolder, NoDesktopAndNoHomeIsError5) {
    TestTree tree;
    EnvOverride homeOverride("HOME", tree.path(QStringLiteral("no-such-home")));
    EnvOverride configOverride("XDG_CONFIG_HOME", tree.root());
    EXPECT_EQ(Main::SpecialFolderPath(0), QString());
    EXPECT_EQ(errorNumberOf([] { Main::DesktopFolderPath(); }), 5);
}
