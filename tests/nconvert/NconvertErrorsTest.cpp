// A failing converter run exits non-zero, names the problem in one line on standard error and
// leaves no output file behind, not even a partial one.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/nconvert/ConverterRunner.h"
#include "tests/nconvert/ImageFiles.h"

using namespace nconverttest;

namespace {

class NconvertErrors : public ::testing::TestWithParam<Build> {
  protected:
    void SetUp() override {
        if (!available(GetParam())) GTEST_SKIP() << "build cannot run here (no qemu-i386)";
        ASSERT_TRUE(dir.isValid());
        writePatternPpm(path("in.ppm"), 300, 200);
        ASSERT_EQ(runTool("cjpeg", {"-quality", "100", "-outfile", path("in.jpg"), path("in.ppm")}).exitCode,
                  0);
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    // Runs the converter and checks the failure shape; returns the error line.
    QString expectFailure(const QStringList& arguments, const std::function<void()>& childSetup = nullptr) {
        const RunResult run = runConverter(GetParam(), arguments, childSetup);
        EXPECT_TRUE(run.started);
        EXPECT_NE(run.exitCode, 0);
        EXPECT_EQ(run.standardError.count('\n'), 1) << run.standardError.constData();
        EXPECT_TRUE(run.standardError.endsWith('\n'));
        return QString::fromUtf8(run.standardError).trimmed();
    }
    QStringList filesInDir() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
};

TEST_P(NconvertErrors, BadInputs) {
    EXPECT_TRUE(expectFailure({"-out", "pcx", "-c", "1", "-o", path("a.pcx"), path("missing.jpg")})
                    .contains("No such file"));

    QFile text(path("text.jpg"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a picture\n");
    text.close();
    EXPECT_TRUE(expectFailure({"-out", "pcx", "-c", "1", "-o", path("b.pcx"), path("text.jpg")})
                    .contains("not a JPEG"));

    // A truncated JPEG is an error, not a picture with a grey remainder.
    QFile whole(path("in.jpg")), cut(path("cut.jpg"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly) && cut.open(QIODevice::WriteOnly));
    cut.write(whole.read(whole.size() / 2));
    cut.close();
    expectFailure({"-out", "pcx", "-c", "1", "-o", path("c.pcx"), path("cut.jpg")});

    // Only the end marker missing: every row decodes and is written before the damage shows.
    QFile noEnd(path("noend.jpg"));
    ASSERT_TRUE(whole.seek(0) && noEnd.open(QIODevice::WriteOnly));
    noEnd.write(whole.read(whole.size() - 2));
    noEnd.close();
    expectFailure({"-out", "pcx", "-c", "1", "-o", path("e.pcx"), path("noend.jpg")});

    expectFailure({"-out", "pcx", "-c", "1", "-o", path("d.pcx"), dir.path()});
    EXPECT_FALSE(QFile::exists(path("a.pcx")) || QFile::exists(path("b.pcx")) ||
                 QFile::exists(path("c.pcx")) || QFile::exists(path("d.pcx")) ||
                 QFile::exists(path("e.pcx")));
    EXPECT_EQ(filesInDir(), (QStringList{"cut.jpg", "in.jpg", "in.ppm", "noend.jpg", "text.jpg"}));
}

// A few bytes can claim a picture of any size: one larger than any page is refused before a row
// is decoded (a damaged one would otherwise keep the converter decoding for minutes).
TEST_P(NconvertErrors, APictureLargerThanAnyPageIsRefusedAtOnce) {
    QFile small(path("in.jpg"));
    ASSERT_TRUE(small.open(QIODevice::ReadOnly));
    QByteArray jpeg = small.readAll();
    const qsizetype frame = jpeg.indexOf(QByteArray("\xff\xc0", 2));
    ASSERT_GT(frame, 0);
    for (const qsizetype at : {frame + 5, frame + 7}) {  // height, width: 40000 each
        jpeg[at] = char(0x9c);
        jpeg[at + 1] = char(0x40);
    }
    QFile huge(path("huge.jpg"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write(jpeg);
    huge.close();
    EXPECT_TRUE(expectFailure({"-out", "pcx", "-c", "1", "-o", path("huge.pcx"), path("huge.jpg")})
                    .contains("40000 x 40000 pixels is larger than any page"));
    EXPECT_FALSE(QFile::exists(path("huge.pcx")));
}

TEST_P(NconvertErrors, BadCommandLines) {
    const QString out = path("out.pcx"), in = path("in.jpg");
    EXPECT_TRUE(expectFailure({"-out", "pcx", "-c", "2", "-o", out, in}).contains("-c 2"));
    EXPECT_TRUE(expectFailure({"-out", "bmp", "-c", "1", "-o", out, in}).contains("bmp"));
    EXPECT_TRUE(expectFailure({"-out", "pcx", "-frobnicate", "-o", out, in}).contains("-frobnicate"));
    expectFailure({"-out", "pcx", "-o", out});        // no input
    expectFailure({"-out", "pcx", in, "-o", out});    // input not last
    expectFailure({"-c", "1", "-o", out, in});        // no format
    expectFailure({"-out", "pcx", "-c", "1", in});    // no output
    expectFailure({"-out", "pcx", "-c", "1", "-o"});  // option without value
    EXPECT_FALSE(QFile::exists(out));
}

TEST_P(NconvertErrors, UnwritableOutputLeavesNothing) {
    const QString in = path("in.jpg");
    expectFailure({"-out", "pcx", "-c", "1", "-o", path("no/such/folder/out.pcx"), in});
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    expectFailure({"-out", "pcx", "-c", "1", "-o", path("folder"), in});  // a folder is in the way

    // The disk fills up in the middle of the write (a file-size limit stands in for it).
    const QStringList before = filesInDir();
    expectFailure({"-out", "pcx", "-c", "1", "-o", path("full.pcx"), in}, [] {
        const rlimit limit{8192, 8192};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    EXPECT_EQ(filesInDir(), before) << "a partial or temporary file was left";
}

TEST_P(NconvertErrors, SuccessfulRunsReplaceTheOutputQuietly) {
    const QString out = path("out.pcx"), in = path("in.jpg");
    QFile old(out);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old content");
    old.close();
    // Options in any order; -overwrite is accepted; -quiet prints nothing; the format in any case.
    const RunResult run =
        runConverter(GetParam(), {"-quiet", "-o", out, "-overwrite", "-c", "1", "-out", "PCX", in});
    EXPECT_EQ(run.exitCode, 0) << run.standardError.constData();
    EXPECT_TRUE(run.standardOutput.isEmpty());
    EXPECT_TRUE(run.standardError.isEmpty());
    EXPECT_EQ(readFile(out).left(2), QByteArray("\x0A\x05"));
    EXPECT_EQ(filesInDir(), (QStringList{"in.jpg", "in.ppm", "out.pcx"}));

    const RunResult help = runConverter(GetParam(), {"-help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.standardOutput.contains("-out pcx"));
}

INSTANTIATE_TEST_SUITE_P(Builds, NconvertErrors, ::testing::Values(Build::I386, Build::X86_64),
                         [](const auto& info) {
                             return std::string(info.param == Build::I386 ? "i386" : "x86_64");
                         });

}  // namespace
