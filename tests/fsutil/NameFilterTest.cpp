// The folder-name filter and the wildcard patterns of the file listing.
#include <gtest/gtest.h>

#include "fsutil/AddFolder.h"
#include "fsutil/Wildcard.h"

TEST(HasUnsafeCharacters, RejectsWhatTheFileInterfacesCannotCarry) {
    const QString loneHalf(QChar(0xD800));
    for (const QString& name :
         {QStringLiteral("a?b"), QStringLiteral("?"), QStringLiteral("tab\t"), QStringLiteral("\x1f"),
          QStringLiteral("\x7f"), QStringLiteral("\u0080"), QStringLiteral("x\u009f"), loneHalf,
          QStringLiteral("a") + loneHalf + QStringLiteral("b")}) {
        EXPECT_TRUE(AddFolder::HasUnsafeCharacters(name)) << name.toStdString();
    }
    for (const QString& name :
         {QString(), QStringLiteral("Reports 2024"), QStringLiteral("~$tmp"), QStringLiteral("\u00a0café"),
          QStringLiteral("日本語"), QStringLiteral("emoji 😀"), QStringLiteral(".hidden")}) {
        EXPECT_FALSE(AddFolder::HasUnsafeCharacters(name)) << name.toStdString();
    }
}

TEST(Wildcards, MatchWholeNamesWithoutRegardToCase) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"report.doc", "*.doc", true},  {"A.DOC", "*.doc", true},       {"a.doc", "*.DOC", true},
        {"x.docx", "*.doc", false},     {"doc", "*.doc", false},        {".doc", "*.doc", true},
        {"README", "*.*", true},        {"a.b.c", "*.*", true},         {".hidden", "*.*", true},
        {"report", "report.*", true},   {"reports", "report.*", false}, {"README", "*.", true},
        {"a.txt", "*.", false},         {"a1.doc", "a?.doc", true},     {"a.doc", "a?.doc", false},
        {"ÄRGER.DOC", "ärger.*", true}, {"aaab", "*a*b", true},         {"abab.x", "*ab*.x", true},
        {"abc", "*c*d", false},         {"[a].doc", "[a].doc", true},   {"a.doc", "[a].doc", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fsutil::MatchesWildcard(QString::fromUtf8(c.name), QString::fromUtf8(c.pattern)), c.matches)
            << c.name << " against " << c.pattern;
    }
}
