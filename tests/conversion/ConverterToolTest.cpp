#include "conversion/ConverterTool.h"
#include "platform/AppError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace {

mode_t modeOf(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(ProcessorAddressWidth, SixtyFourOnThisMachine) {
    struct utsname name {};
    ASSERT_EQ(::uname(&name), 0);
    if (QByteArray(name.machine) != "x86_64") GTEST_SKIP() << "not an x86-64 machine";
    EXPECT_EQ(Main::ProcessorAddressWidth(), QStringLiteral("64"));
}

TEST(WriteBytesToFile, WritesExactBytesWithTheExecuteBit) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nconvert.exe"));
    QByteArray bytes(70000, '\0');
    for (int i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    const mode_t oldMask = ::umask(0177);  // even a strict umask keeps the execute bit
    Main::WriteBytesToFile(bytes, path);
    ::umask(oldMask);
    EXPECT_EQ(contentOf(path), bytes);
    EXPECT_EQ(modeOf(path), 0700u);
}

TEST(WriteBytesToFile, NeverReplacesAnExistingFileOrLink) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nconvert.exe"));
    Main::WriteBytesToFile(QByteArray("first"), path);
    Main::WriteBytesToFile(QByteArray("second, longer"), path);
    EXPECT_EQ(contentOf(path), QByteArray("first"));

    // A dangling link is not followed: its target is never created.
    const QString link = dir.filePath(QStringLiteral("link.exe"));
    const QString target = dir.filePath(QStringLiteral("target"));
    ASSERT_TRUE(QFile::link(target, link));
    Main::WriteBytesToFile(QByteArray("x"), link);
    EXPECT_FALSE(QFile::exists(target));
}

TEST(WriteBytesToFile, FailuresAreRunTimeErrors) {
    QTemporaryDir dir;
    try {
        Main::WriteBytesToFile(QByteArray("x"), dir.filePath(QStringLiteral("no/such/folder/nconvert.exe")));
        FAIL() << "no error";
    } catch (const platform::AppError& error) {
        EXPECT_EQ(error.number(), 76);
        EXPECT_EQ(error.description(), QStringLiteral("Path not found"));
    }
}

TEST(ConverterFilePath, TempOrAPrivateFolder) {
    const QByteArray savedTemp = qgetenv("TEMP");
    qputenv("TEMP", "/some/temp");
    EXPECT_EQ(Main::ConverterFilePath(), QStringLiteral("/some/temp/nconvert.exe"));

    qunsetenv("TEMP");
    const QString path = Main::ConverterFilePath();
    const QString folder = QFileInfo(path).path();
    EXPECT_TRUE(path.endsWith(QStringLiteral("/nconvert.exe")));
    EXPECT_TRUE(folder.startsWith(QDir::tempPath() + u'/'));
    EXPECT_EQ(modeOf(folder), 0700u);
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0777), 0);
    EXPECT_EQ(Main::ConverterFilePath(), path);
    EXPECT_EQ(modeOf(folder), 0700u) << "our own folder is made private again";

    // A folder of that name that someone else owns is refused.
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() == 0 && nobody != nullptr) {
        ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), nobody->pw_uid, nobody->pw_gid), 0);
        EXPECT_THROW(Main::ConverterFilePath(), platform::AppError);
        ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), 0, 0), 0);
    }
    qputenv("TEMP", savedTemp);
}

TEST(IsTrustedConverterFile, OnlyOurOwnPrivateRegularFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nconvert.exe"));
    const QByteArray native = QFile::encodeName(path);
    EXPECT_FALSE(Main::IsTrustedConverterFile(path));  // missing
    Main::WriteBytesToFile(QByteArray("program"), path);
    EXPECT_TRUE(Main::IsTrustedConverterFile(path));

    const QString link = dir.filePath(QStringLiteral("link.exe"));
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_FALSE(Main::IsTrustedConverterFile(link));
    EXPECT_FALSE(Main::IsTrustedConverterFile(dir.path()));

    ASSERT_EQ(::chmod(native.constData(), 0720), 0);
    EXPECT_FALSE(Main::IsTrustedConverterFile(path)) << "group-writable";
    ASSERT_EQ(::chmod(native.constData(), 0702), 0);
    EXPECT_FALSE(Main::IsTrustedConverterFile(path)) << "writable by others";
    ASSERT_EQ(::chmod(native.constData(), 0755), 0);
    EXPECT_TRUE(Main::IsTrustedConverterFile(path));

    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || nobody == nullptr) GTEST_SKIP() << "changing the owner needs root";
    ASSERT_EQ(::chown(native.constData(), nobody->pw_uid, nobody->pw_gid), 0);
    EXPECT_FALSE(Main::IsTrustedConverterFile(path)) << "planted by another user";
}

TEST(LoadCustomResource, TheTwoConverterBuilds) {
    const QByteArray i386 = Main::LoadCustomResource(101);
    const QByteArray x86_64 = Main::LoadCustomResource(102);
    ASSERT_GT(i386.size(), 64);
    ASSERT_GT(x86_64.size(), 64);
    EXPECT_TRUE(i386.startsWith("\x7f" "ELF\x01"));   // 32-bit
    EXPECT_TRUE(x86_64.startsWith("\x7f" "ELF\x02")); // 64-bit
    EXPECT_EQ(i386, contentOf(QStringLiteral(NCONVERT32_PATH)));
    EXPECT_EQ(x86_64, contentOf(QStringLiteral(NCONVERT64_PATH)));
    EXPECT_THROW(Main::LoadCustomResource(103), platform::AppError);
}

}  // namespace
