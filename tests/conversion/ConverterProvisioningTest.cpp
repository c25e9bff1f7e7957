// The converter as a document conversion uses it: the build that suits the processor, written
// from the resources to the converter file, run once per page with the conversion's command line.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "conversion/ConverterTool.h"
#include "conversion/Shell32.h"
#include "tests/support/ImageMagick.h"

namespace {

// The command line of one page: "converter" -out pcx -c 1 -o "prefix.pcx" "prefix.jpg"
QString pageCommandLine(const QString& converter, const QString& prefix) {
    return u'"' + converter + u'"' + QStringLiteral(" -out pcx -c 1 -o ") + u'"' + prefix +
           QStringLiteral(".pcx\" \"") + prefix + QStringLiteral(".jpg\"");
}

// A page-like JPEG, made with ImageMagick.
bool makeJpeg(const QString& path) {
    return QProcess::execute(
               testsupport::imageMagickTool("convert"),
               {QStringLiteral("-size"), QStringLiteral("120x170"), QStringLiteral("gradient:white-navy"),
                QStringLiteral("-quality"), QStringLiteral("100"), path}) == 0;
}

class ConverterProvisioning : public ::testing::TestWithParam<int> {};

TEST_P(ConverterProvisioning, WrittenTrustedAndRunPerPage) {
    QTemporaryDir out;
    // A folder name that a shell would take apart.
    const QString folder = out.filePath(QStringLiteral("pages; $(touch x) `y`"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString prefix = folder + QStringLiteral("/report_1");
    ASSERT_TRUE(makeJpeg(prefix + QStringLiteral(".jpg")));

    const QString converter = Main::ConverterFilePath();
    QFile::remove(converter);
    Main::WriteBytesToFile(Main::LoadCustomResource(GetParam()), converter);
    ASSERT_TRUE(Main::IsTrustedConverterFile(converter));

    int hidden = 0;
    const std::int32_t result = Shell32::RunAndWait(pageCommandLine(converter, prefix), &hidden);
    QFile::remove(converter);
    if (GetParam() == 101 && result == Shell32::kStartFailureBase + 5) {
        GTEST_SKIP() << "this kernel does not run i386 programs";
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(hidden, 0);
    QFile pcx(prefix + QStringLiteral(".pcx"));
    ASSERT_TRUE(pcx.open(QIODevice::ReadOnly));
    const QByteArray header = pcx.read(128);
    EXPECT_TRUE(header.startsWith("\x0A\x05\x01\x08"));
    EXPECT_EQ(QProcess::execute(QStringLiteral("pcxtoppm"), {QStringLiteral("-quiet"), pcx.fileName()}), 0);
    EXPECT_FALSE(QFile::exists(out.filePath(QStringLiteral("x"))));
}

INSTANTIATE_TEST_SUITE_P(Builds, ConverterProvisioning, ::testing::Values(101, 102), [](const auto& info) {
    return info.param == 101 ? std::string("i386") : std::string("x86_64");
});

TEST(ConverterProvisioning, ProcessorChoosesTheBuild) {
    const int id = Main::ProcessorAddressWidth() == QStringLiteral("64") ? 102 : 101;
    EXPECT_TRUE(Main::LoadCustomResource(id).startsWith(id == 102 ? "\x7f"
                                                                    "ELF\x02"
                                                                  : "\x7f"
                                                                    "ELF\x01"));
}

}  // namespace
