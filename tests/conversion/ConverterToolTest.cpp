#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "conversion/ConverterFileHold.h"
#include "conversion/ConverterTool.h"
#include "platform/AppError.h"

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

// Sets environment variables for one scope and puts the old values back after it.
class ScopedEnvironment {
  public:
    void set(const char* name, const QString& value) {
        remember(name);
        qputenv(name, QFile::encodeName(value));
    }
    void unset(const char* name) {
        remember(name);
        qunsetenv(name);
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value.isNull())
                qunsetenv(name.constData());
            else
                qputenv(name.constData(), value);
        }
    }

  private:
    void remember(const char* name) {
        for (const auto& entry : saved_)
            if (entry.first == name) return;
        saved_.emplace_back(name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray());
    }
    std::vector<std::pair<QByteArray, QByteArray>> saved_;
};

TEST(ConverterFilePath, TempThenThePrivateRuntimeFolder) {
    ScopedEnvironment environment;
    environment.set("TEMP", QStringLiteral("/some/temp"));
    EXPECT_EQ(Main::ConverterFilePath(), QStringLiteral("/some/temp/nconvert.exe"));

    QTemporaryDir runtime;
    ASSERT_EQ(::chmod(QFile::encodeName(runtime.path()).constData(), 0700), 0);
    environment.unset("TEMP");
    environment.set("XDG_RUNTIME_DIR", runtime.path());
    EXPECT_EQ(Main::ConverterFilePath(), runtime.path() + QStringLiteral("/nconvert.exe"));
}

// Without TEMP and without a private runtime folder, every converter file gets a folder made for
// it alone: one that someone made in advance under the old fixed name is never used.
TEST(ConverterFilePath, OtherwiseAFolderMadeAfreshThatNobodyCouldHaveMadeInAdvance) {
    QTemporaryDir tmp;
    QTemporaryDir openRuntime;
    ASSERT_EQ(::chmod(QFile::encodeName(openRuntime.path()).constData(), 0755), 0);
    ScopedEnvironment environment;
    environment.unset("TEMP");
    environment.set("TMPDIR", tmp.path());
    for (const bool withOpenRuntime : {false, true}) {
        if (withOpenRuntime)
            environment.set("XDG_RUNTIME_DIR", openRuntime.path());
        else
            environment.unset("XDG_RUNTIME_DIR");
        // What another user could have left at the old fixed name.
        const QString planted = tmp.path() + QStringLiteral("/marrowdale-%1").arg(::geteuid());
        ASSERT_TRUE(QDir().mkpath(planted));
        ::chmod(QFile::encodeName(planted).constData(), 0777);

        const QString first = Main::ConverterFilePath();
        const QString second = Main::ConverterFilePath();
        const QString folder = QFileInfo(first).path();
        EXPECT_TRUE(first.endsWith(QStringLiteral("/nconvert.exe")));
        EXPECT_EQ(QFileInfo(folder).path(), tmp.path());
        EXPECT_NE(folder, planted);
        EXPECT_NE(first, second);
        EXPECT_EQ(modeOf(folder), 0700u);
        EXPECT_EQ(QFileInfo(folder).ownerId(), ::geteuid());

        Main::WriteBytesToFile(QByteArray("x"), first);
        Main::RemoveConverterFolder(first);
        EXPECT_TRUE(QFileInfo(folder).isDir()) << "a folder still holding the converter stays";
        QFile::remove(first);
        Main::RemoveConverterFolder(first);
        Main::RemoveConverterFolder(second);
        Main::RemoveConverterFolder(planted + QStringLiteral("/nconvert.exe"));
        EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                  QStringList{QFileInfo(planted).fileName()});
    }
}

TEST(ConverterFilePath, AFolderThatCannotBeMadeIsNamed) {
    ScopedEnvironment environment;
    environment.unset("TEMP");
    environment.unset("XDG_RUNTIME_DIR");
    environment.set("TMPDIR", QStringLiteral("/proc"));  // a folder where nobody, not even root, makes one
    try {
        Main::ConverterFilePath();
        FAIL() << "no error";
    } catch (const platform::AppError& error) {
        EXPECT_EQ(error.number(), 75);
        EXPECT_TRUE(error.description().contains(QStringLiteral("/proc")))
            << error.description().toStdString();
    }
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
    EXPECT_TRUE(
        i386.startsWith("\x7f"
                        "ELF\x01"));  // 32-bit
    EXPECT_TRUE(
        x86_64.startsWith("\x7f"
                          "ELF\x02"));  // 64-bit
    EXPECT_EQ(i386, contentOf(QStringLiteral(NCONVERT32_PATH)));
    EXPECT_EQ(x86_64, contentOf(QStringLiteral(NCONVERT64_PATH)));
    EXPECT_THROW(Main::LoadCustomResource(103), platform::AppError);
}

// Two documents converting at once, in two copies of the program, share one converter file.
TEST(ConverterFileHold, TheLastDocumentToEndRemovesTheSharedFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nconvert.exe"));
    Main::ConverterFileHold first;
    Main::ConverterFileHold second;
    first.writeAndHold(QByteArray("converter"), path);
    second.writeAndHold(QByteArray("another build"), path);
    EXPECT_TRUE(first.held());
    EXPECT_TRUE(second.held());
    EXPECT_EQ(contentOf(path), QByteArray("converter"));  // found and used unchanged

    first.releaseAndRemove();  // the one that wrote it ends first
    EXPECT_EQ(contentOf(path), QByteArray("converter"));
    second.releaseAndRemove();
    EXPECT_FALSE(QFileInfo::exists(path));

    // Alone again, each document writes and removes it as before.
    first.writeAndHold(QByteArray("converter"), path);
    first.releaseAndRemove();
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(ConverterFileHold, ALeftOverFileOrAPlantedLinkIsRemovedAtTheEnd) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nconvert.exe"));
    {
        QFile leftOver(path);
        ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
        leftOver.write("left by a run that crashed");
    }
    Main::ConverterFileHold hold;
    hold.writeAndHold(QByteArray("converter"), path);
    EXPECT_EQ(contentOf(path), QByteArray("left by a run that crashed"));
    hold.releaseAndRemove();
    EXPECT_FALSE(QFileInfo::exists(path));

    const QString target = dir.filePath(QStringLiteral("target"));
    ASSERT_TRUE(QFile::link(target, path));
    hold.writeAndHold(QByteArray("converter"), path);
    EXPECT_FALSE(hold.held());  // never opened through a link
    hold.releaseAndRemove();
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(target));
}

}  // namespace
