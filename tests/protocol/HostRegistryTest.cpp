#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "protocol/HostRecords.h"
#include "protocol/HostRegistry.h"

namespace {

// Points XDG_RUNTIME_DIR and TMPDIR elsewhere for one test.
class HostRegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        savedTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    }
    void TearDown() override {
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
        qputenv("TMPDIR", savedTmp);
    }
    static void chmodTo(const QString& path, mode_t mode) {
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
    }
    static QString registered() {
        protocol::HostRegistration registration;
        EXPECT_EQ(protocol::runningHosts(), std::vector<int>{static_cast<int>(::getpid())});
        EXPECT_TRUE(protocol::hostRunning(::getpid()));
        return QFileInfo(QString::fromStdString(registration.path())).path();
    }

    QTemporaryDir tmp;
    QByteArray savedRuntime;
    QByteArray savedTmp;
};

TEST_F(HostRegistryTest, APrivateRuntimeFolderHoldsTheRegistrations) {
    QTemporaryDir runtime;
    chmodTo(runtime.path(), 0700);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    EXPECT_EQ(registered(), runtime.path() + QStringLiteral("/marrowdale"));
    EXPECT_FALSE(protocol::hostRunning(::getpid()));
    EXPECT_TRUE(protocol::runningHosts().empty());
}

// Without a usable runtime folder, folders that someone could have made in advance (the old fixed
// name, or a folder of the new form that others may enter) are never used.
TEST_F(HostRegistryTest, WithoutARuntimeFolderOnlyAFolderMadeByMkdtempIsTrusted) {
    QTemporaryDir openRuntime;
    chmodTo(openRuntime.path(), 0755);
    const QString uid = QString::number(::getuid());
    const QString oldFixed = tmp.path() + QStringLiteral("/marrowdale-") + uid;
    const QString openOne = tmp.path() + QStringLiteral("/marrowdale-hosts-%1-AAAAAA").arg(uid);
    ASSERT_TRUE(QDir().mkpath(oldFixed));
    ASSERT_TRUE(QDir().mkpath(openOne));
    chmodTo(oldFixed, 0777);
    chmodTo(openOne, 0777);
    QFile planted(openOne + QStringLiteral("/wordhost-1.lock"));
    ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
    planted.close();

    for (const bool withOpenRuntime : {false, true}) {
        if (withOpenRuntime)
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(openRuntime.path()));
        else
            qunsetenv("XDG_RUNTIME_DIR");
        const QString folder = registered();
        EXPECT_NE(folder, oldFixed);
        EXPECT_NE(folder, openOne);
        EXPECT_TRUE(QFileInfo(folder).fileName().startsWith(QStringLiteral("marrowdale-hosts-") + uid + '-'));
        EXPECT_EQ(QFileInfo(folder).path(), tmp.path());
        EXPECT_EQ(QFileInfo(folder).permissions() & 0x0077, 0) << "closed to group and others";
        EXPECT_TRUE(protocol::runningHosts().empty());
    }
    // The one folder made is used again, by later hosts and look-ups alike.
    EXPECT_EQ(QDir(tmp.path()).entryList({QStringLiteral("marrowdale-hosts-*")}, QDir::Dirs).size(), 2);
}

}  // namespace

namespace {

// The registry is read back from file names and descriptor links any process of the user can make.
TEST(HostRecords, OnlyNamesOfProcessesThatCanExistAreHosts) {
    EXPECT_EQ(protocol::hostOfRegistrationName(protocol::registrationName(4242)), 4242);
    EXPECT_EQ(protocol::hostOfRegistrationName("wordhost-2147483647.lock"), 2147483647);
    for (const char* name : {"wordhost-0.lock", "wordhost-2147483648.lock", "wordhost-4294967297.lock",
                             "wordhost-99999999999999999999.lock", "wordhost--1.lock", "wordhost-+1.lock",
                             "wordhost-.lock", "wordhost-1.lock.tmp", "wordhost-1 .lock", "other-1.lock"}) {
        EXPECT_EQ(protocol::hostOfRegistrationName(name), std::nullopt) << name;
    }
}

TEST(HostRecords, AnOwnerLinkNamesItsPrivateFolder) {
    EXPECT_EQ(protocol::privateFolderOfOwnerLink("/tmp/marrowdale-wordhost-Ab12/.owner"),
              "/tmp/marrowdale-wordhost-Ab12");
    for (const char* link : {"/tmp/marrowdale-wordhost-Ab12/.owner (deleted)", "/tmp/other/.owner", "/.owner",
                             ".owner", "marrowdale-wordhost-x/.owner", "/tmp/marrowdale-word/.owner", ""}) {
        EXPECT_EQ(protocol::privateFolderOfOwnerLink(link), "") << link;
    }
}

}  // namespace
