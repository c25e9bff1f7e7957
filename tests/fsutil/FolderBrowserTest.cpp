// The folder picker's answer as the callers see it.
#include <gtest/gtest.h>

#include "fsutil/AddFolder.h"
#include "tests/support/RecordingDialogs.h"

TEST(BrowseForFolder, PathWithoutAddedSlashRootKeepsItsOwnEmptyOnCancel) {
    testsupport::RecordingDialogs dialogs;
    dialogs.folderAnswers = {QStringLiteral("/home/ann/Reports"), QStringLiteral("/home/ann/Reports/"),
                             QStringLiteral("/"), QString()};
    const QString title = QStringLiteral("Please select folder:");
    EXPECT_EQ(AddFolder::BrowseForFolder(nullptr, title), QStringLiteral("/home/ann/Reports"));
    EXPECT_EQ(AddFolder::BrowseForFolder(nullptr, title), QStringLiteral("/home/ann/Reports"));
    EXPECT_EQ(AddFolder::BrowseForFolder(nullptr, title), QStringLiteral("/"));
    EXPECT_EQ(AddFolder::BrowseForFolder(nullptr, title), QString());
    ASSERT_EQ(dialogs.shown.size(), 4u);
    EXPECT_EQ(dialogs.shown.front().kind, QStringLiteral("folder"));
    EXPECT_EQ(dialogs.shown.front().text, title);
}
