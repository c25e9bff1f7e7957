#include "tests/support/TestTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <stdexcept>

#include "tests/support/RemoveTree.h"

namespace testsupport {

namespace {
QString makeTemporaryFolder(const QString& base) {
    QByteArray templ = QFile::encodeName(base + QStringLiteral("/marrowdale-tree-XXXXXX"));
    if (::mkdtemp(templ.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return QFile::decodeName(templ);
}
}  // namespace

TestTree::TestTree() : root_(makeTemporaryFolder(QDir::tempPath())) {}

TestTree::TestTree(const QString& base, mode_t mode) : root_(makeTemporaryFolder(base)) {
    ::chmod(QFile::encodeName(root_).constData(), mode);
}

TestTree::~TestTree() { removeTree(root_); }

void TestTree::openAllFolders() const {
    namespace fs = std::filesystem;
    // Byte paths throughout: some test folders have names that are not valid UTF-8.
    const fs::path root(QFile::encodeName(root_).toStdString());
    std::error_code ignored;
    fs::permissions(root, fs::perms(0755), ignored);
    // A locked folder is opened as it is met, before the iterator steps into it.
    for (auto it = fs::recursive_directory_iterator(root, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms(0755), ignored);
    }
}

QString TestTree::path(const QString& relative) const { return root_ + QLatin1Char('/') + relative; }

QStringList TestTree::paths(const QStringList& relatives) const {
    QStringList full;
    for (const QString& relative : relatives) full << path(relative);
    return full;
}

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

void TestTree::makeReadOnly(const QString& path) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &st) == 0)
        ::chmod(name.constData(), st.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH));
}

}  // namespace testsupport
