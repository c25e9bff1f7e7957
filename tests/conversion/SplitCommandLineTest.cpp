#include <gtest/gtest.h>

#include "conversion/Shell32.h"

namespace {

QStringList split(const char* commandLine) {
    return Shell32::SplitCommandLine(QString::fromUtf8(commandLine));
}

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

// Page file names come from document names, which may hold quotes, backslashes and blanks.
TEST(SplitCommandLine, QuotedArgumentsComeBackAsTheyWere) {
    const QStringList names{R"(/out/plain_1.pcx)",
                            R"(/out/it's "quoted"_1.pcx)",
                            R"(/out/back\slash_1.pcx)",
                            R"(/out/ends in\)",
                            R"(/out/\"both\\"_1.jpg)",
                            R"(")",
                            ""};
    QString commandLine = QStringLiteral("prog");
    for (const QString& name : names) commandLine += QLatin1Char(' ') + Shell32::QuoteArgument(name);
    EXPECT_EQ(Shell32::SplitCommandLine(commandLine), QStringList{QStringLiteral("prog")} + names);
    EXPECT_EQ(Shell32::QuoteArgument(QStringLiteral("/out/a b_1.pcx")), QStringLiteral("\"/out/a b_1.pcx\""))
        << "a name without quotes is quoted plainly";
}

}  // namespace
