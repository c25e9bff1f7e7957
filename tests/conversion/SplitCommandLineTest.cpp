#include "conversion/Shell32.h"

#include <gtest/gtest.h>

namespace {

QStringList split(const char* commandLine) { return Shell32::SplitCommandLine(QString::fromUtf8(commandLine)); }

TEST(SplitCommandLine, TheConverterCommandLine) {
    EXPECT_EQ(split(R"("/tmp/my temp/nconvert.exe" -out pcx -c 1 -o "/out/a b_1.pcx" "/out/a b_1.jpg")"),
              (QStringList{"/tmp/my temp/nconvert.exe", "-out", "pcx", "-c", "1", "-o", "/out/a b_1.pcx",
                           "/out/a b_1.jpg"}));
}

TEST(SplitCommandLine, ProgramNameTakesNoEscapes) {
    EXPECT_EQ(split(R"("C:\dir\"x)"), (QStringList{R"(C:\dir\)", "x"}));
    EXPECT_EQ(split("  prog\targ"), (QStringList{"prog", "arg"}));
    EXPECT_EQ(split(""), QStringList{});
    EXPECT_EQ(split("   "), QStringList{});
}

// The table of the Microsoft C run-time's rules.
TEST(SplitCommandLine, BackslashesAndQuotes) {
    EXPECT_EQ(split(R"(p "a b c" d e)"), (QStringList{"p", "a b c", "d", "e"}));
    EXPECT_EQ(split(R"(p "ab\"c" "\\" d)"), (QStringList{"p", R"(ab"c)", R"(\)", "d"}));
    EXPECT_EQ(split(R"(p a\\\b d"e f"g h)"), (QStringList{"p", R"(a\\\b)", "de fg", "h"}));
    EXPECT_EQ(split(R"(p a\\\"b c d)"), (QStringList{"p", R"(a\"b)", "c", "d"}));
    EXPECT_EQ(split(R"(p a\\\\"b c" d e)"), (QStringList{"p", R"(a\\b c)", "d", "e"}));
    EXPECT_EQ(split(R"(p a"b"" c d)"), (QStringList{"p", R"(ab")", "c", "d"}));
    EXPECT_EQ(split(R"(p "" x)"), (QStringList{"p", "", "x"}));
    EXPECT_EQ(split(R"(p "unterminated arg)"), (QStringList{"p", "unterminated arg"}));
}

}  // namespace
