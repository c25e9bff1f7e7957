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

// Whole names, without regard to case.
struct WildcardCase {
    const char* name;
    const char* pattern;
    bool matches;
};

class Wildcards : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(Wildcards, MatchWholeNamesWithoutRegardToCase) {
    const WildcardCase& c = GetParam();
    EXPECT_EQ(fsutil::MatchesWildcard(QString::fromUtf8(c.name), QString::fromUtf8(c.pattern)), c.matches)
        << c.name << " against " << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Names, Wildcards,
    ::testing::Values(WildcardCase{"report.doc", "*.doc", true}, WildcardCase{"A.DOC", "*.doc", true},
                      WildcardCase{"a.doc", "*.DOC", true}, WildcardCase{"x.docx", "*.doc", false},
                      WildcardCase{"doc", "*.doc", false}, WildcardCase{".doc", "*.doc", true},
                      WildcardCase{"README", "*.*", true}, WildcardCase{"a.b.c", "*.*", true},
                      WildcardCase{".hidden", "*.*", true}, WildcardCase{"report", "report.*", true},
                      WildcardCase{"reports", "report.*", false}, WildcardCase{"README", "*.", true},
                      WildcardCase{"a.txt", "*.", false}, WildcardCase{"a1.doc", "a?.doc", true},
                      WildcardCase{"a.doc", "a?.doc", false}, WildcardCase{"ÄRGER.DOC", "ärger.*", true},
                      WildcardCase{"aaab", "*a*b", true}, WildcardCase{"abab.x", "*ab*.x", true},
                      WildcardCase{"abc", "*c*d", false}, WildcardCase{"[a].doc", "[a].doc", true},
                      WildcardCase{"a.doc", "[a].doc", false}));
