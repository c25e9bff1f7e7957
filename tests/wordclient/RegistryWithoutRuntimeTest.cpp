// A real host and its client on a machine without a runtime folder: the host points TMPDIR at
// its own folder for the engine, and must still register where the client looks.
#include <gtest/gtest.h>

#include <QDir>

#include "platform/AppError.h"
#include "protocol/HostRegistry.h"
#include "tests/support/HostTestSupport.h"
#include "tests/support/ScratchHome.h"
#include "wordclient/HostWordFactory.h"

namespace {

TEST(RegistryWithoutRuntimeFolder, AttachFindsTheRunningHost) {
    // Before any host of this process starts, so every host inherits it.
    qunsetenv("XDG_RUNTIME_DIR");
    auto word = wordclient::hostWordFactory().createObject();
    word->name();
    const QStringList folders =
        QDir(qEnvironmentVariable("TMPDIR")).entryList({QStringLiteral("marrowdale-hosts-*")}, QDir::Dirs);
    EXPECT_EQ(folders.size(), 1) << folders.join(' ').toStdString();
    auto attached = wordclient::hostWordFactory().getObject();
    EXPECT_EQ(attached->name(), QStringLiteral("Microsoft Word"));
    word->quit();
    EXPECT_TRUE(wordhosttest::waitUntil([] { return protocol::runningHosts().empty(); }, 10000));
}

}  // namespace
