#include "tests/fsutil/TestTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <dirent.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace fsutiltest {

namespace {
QString makeTemporaryFolder(const QString& base) {
    QByteArray templ = QFile::encodeName(base + QStringLiteral("/marrowdale-fsutil-XXXXXX"));
    if (::mkdtemp(templ.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return QFile::decodeName(templ);
}

// Byte paths throughout: some test folders have names that are not valid UTF-8.
void openEverything(const QString& folder) {
    namespace fs = std::filesystem;
    const fs::path root(QFile::encodeName(folder).toStdString());
    std::error_code ignored;
    fs::permissions(root, fs::perms(0755), ignored);
    // A locked folder is opened as it is met, before the iterator steps into it.
    for (auto it = fs::recursive_directory_iterator(root, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms(0755), ignored);
    }
}
}  // namespace

TestTree::TestTree() : root_(makeTemporaryFolder(QDir::tempPath())) {}

TestTree::TestTree(const QString& base, mode_t mode) : root_(makeTemporaryFolder(base)) {
    ::chmod(QFile::encodeName(root_).constData(), mode);
}

TestTree::~TestTree() {
    openAllFolders();
    std::error_code ignored;
    std::filesystem::remove_all(QFile::encodeName(root_).toStdString(), ignored);
}

void TestTree::openAllFolders() const { openEverything(root_); }

QString TestTree::path(const QString& relative) const { return root_ + QLatin1Char('/') + relative; }

QString TestTree::folder(const QString& relative) const {
    EXPECT_TRUE(QDir().mkpath(path(relative))) << relative.toStdString();
    return path(relative) + QLatin1Char('/');
}

QString TestTree::file(const QString& relative) const {
    QDir().mkpath(QFileInfo(path(relative)).absolutePath());
    QFile file(path(relative));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << relative.toStdString();
    file.write("text\n");
    return path(relative);
}

void TestTree::link(const QString& target, const QString& relative) const {
    EXPECT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path(relative)).constData()),
              0);
}

void TestTree::setMode(const QString& relative, mode_t mode) const {
    EXPECT_EQ(::chmod(QFile::encodeName(path(relative)).constData(), mode), 0);
}

QStringList directoryOrder(const QString& folder) {
    QStringList names;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name != QLatin1String(".") && name != QLatin1String("..")) names << name;
    }
    ::closedir(dir);
    return names;
}

}  // namespace fsutiltest
