// Both converter builds turn JPEG files into PCX files that netpbm and ImageMagick decode to the
// pixels djpeg gives for the JPEG.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <tuple>

#include "tests/nconvert/ConverterRunner.h"
#include "tests/nconvert/ImageFiles.h"
#include "tests/support/ImageMagick.h"

using namespace nconverttest;

namespace {

struct JpegCase {
    const char* name;
    int width;
    int height;
    QStringList cjpegOptions;
};

void PrintTo(const JpegCase& jpegCase, std::ostream* os) { *os << jpegCase.name; }

const JpegCase kCases[] = {
    {"colour_1x7", 1, 7, {"-quality", "90"}},
    {"colour_3x5_progressive", 3, 5, {"-quality", "90", "-progressive"}},
    {"colour_333x41_q100_444", 333, 41, {"-quality", "100", "-sample", "1x1"}},
    {"colour_200x90_progressive_420", 200, 90, {"-quality", "75", "-progressive", "-sample", "2x2"}},
    // Colour at half resolution as the program's pages are: odd sizes, bands cut short at the
    // bottom, the narrowest picture read from its planes, grey rows beside coloured ones.
    {"colour_1275x203_q100_420", 1275, 203, {"-quality", "100", "-sample", "2x2", "-dct", "int"}},
    {"colour_16x17_420", 16, 17, {"-quality", "90", "-sample", "2x2"}},
    {"colour_15x33_420", 15, 33, {"-quality", "90", "-sample", "2x2"}},
    {"grey_1x9", 1, 9, {"-quality", "90", "-grayscale"}},
    {"grey_333x41_progressive", 333, 41, {"-quality", "95", "-grayscale", "-progressive"}},
};

class NconvertPixels : public ::testing::TestWithParam<std::tuple<Build, JpegCase>> {
  protected:
    void SetUp() override {
        if (!available(build()))
            GTEST_SKIP() << buildName(build()) << " build cannot run here (no qemu-i386)";
        ASSERT_TRUE(dir.isValid());
    }
    Build build() const { return std::get<0>(GetParam()); }
    const JpegCase& jpegCase() const { return std::get<1>(GetParam()); }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
};

RgbPicture decodeWith(const QString& tool, const QStringList& arguments) {
    return parsePnm(runTool(tool, arguments).standardOutput);
}

TEST_P(NconvertPixels, DecodersAgreeWithDjpegAndTheHeaderIsVersion5) {
    writePatternPpm(path("in.ppm"), jpegCase().width, jpegCase().height);
    ASSERT_EQ(
        runTool("cjpeg", jpegCase().cjpegOptions + QStringList{"-outfile", path("in.jpg"), path("in.ppm")})
            .exitCode,
        0);

    const RunResult run =
        runConverter(build(), {"-out", "pcx", "-c", "1", "-o", path("out.pcx"), path("in.jpg")});
    ASSERT_EQ(run.exitCode, 0) << run.standardError.constData();

    const RgbPicture reference = decodeWith("djpeg", {"-pnm", path("in.jpg")});
    ASSERT_EQ(reference.width, jpegCase().width);
    const RgbPicture byNetpbm = decodeWith("pcxtoppm", {path("out.pcx")});
    const RgbPicture byImageMagick =
        decodeWith(testsupport::imageMagickTool("convert"), {path("out.pcx"), "ppm:-"});
    EXPECT_GE(largestDifference(reference, byNetpbm), 0) << "pcxtoppm gave another size";
    EXPECT_LE(largestDifference(reference, byNetpbm), 2);
    EXPECT_GE(largestDifference(reference, byImageMagick), 0) << "ImageMagick gave another size";
    EXPECT_LE(largestDifference(reference, byImageMagick), 2);
    // Pages are made from their planes here as libjpeg makes them: to the very level.
    if (jpegCase().cjpegOptions.contains("2x2")) {
        EXPECT_EQ(largestDifference(reference, byNetpbm), 0);
    }

    // Version 5, run-length encoded, 8 bits per plane, even bytes per line (the decoders above
    // already read the grey palette).
    const QByteArray pcx = readFile(path("out.pcx"));
    ASSERT_GT(pcx.size(), 128);
    EXPECT_EQ(pcx[0], 0x0A);
    EXPECT_EQ(pcx[1], 5);
    EXPECT_EQ(pcx[2], 1);
    EXPECT_EQ(pcx[3], 8);
    EXPECT_EQ(pcx[65], jpegCase().cjpegOptions.contains("-grayscale") ? 1 : 3);
    const int bytesPerLine = wordAt(pcx, 66);
    EXPECT_EQ(bytesPerLine % 2, 0);
    EXPECT_GE(bytesPerLine, jpegCase().width);
    EXPECT_LE(bytesPerLine, jpegCase().width + 1);
}

INSTANTIATE_TEST_SUITE_P(Builds, NconvertPixels,
                         ::testing::Combine(::testing::Values(Build::I386, Build::X86_64),
                                            ::testing::ValuesIn(kCases)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) == Build::I386 ? "i386_"
                                                                                       : "x86_64_") +
                                    std::get<1>(info.param).name;
                         });

class NconvertResolution : public ::testing::TestWithParam<Build> {};

// The JPEG's density, in dpi or dots per centimetre, becomes the PCX resolution; none gives 150.
TEST_P(NconvertResolution, IsCarriedFromTheJpeg) {
    if (!available(GetParam())) GTEST_SKIP() << "build cannot run here";
    QTemporaryDir dir;
    const QString ppm = dir.filePath("in.ppm");
    writePatternPpm(ppm, 40, 30);
    struct {
        QStringList magickOptions;
        int dpiX, dpiY;
    } const cases[] = {
        {{"-units", "PixelsPerInch", "-density", "300"}, 300, 300},
        {{"-units", "PixelsPerInch", "-density", "300x200"}, 300, 200},
        {{"-units", "PixelsPerCentimeter", "-density", "118"}, 300, 300},
        {{"-units", "Undefined", "-density", "1"}, 150, 150},
    };
    for (const auto& c : cases) {
        const QString jpg = dir.filePath("in.jpg"), pcx = dir.filePath("out.pcx");
        ASSERT_EQ(runTool(testsupport::imageMagickTool("convert"),
                          QStringList{ppm} + c.magickOptions + QStringList{jpg})
                      .exitCode,
                  0);
        ASSERT_EQ(runConverter(GetParam(), {"-out", "pcx", "-c", "1", "-o", pcx, jpg}).exitCode, 0);
        const QByteArray header = readFile(pcx);
        EXPECT_EQ(wordAt(header, 12), c.dpiX) << c.magickOptions.join(' ').toStdString();
        EXPECT_EQ(wordAt(header, 14), c.dpiY) << c.magickOptions.join(' ').toStdString();
        EXPECT_EQ(runTool("identify", {"-format", "%x", pcx}).standardOutput, QByteArray::number(c.dpiX));
    }
    // cjpeg writes no density at all.
    const QString jpg = dir.filePath("plain.jpg"), pcx = dir.filePath("plain.pcx");
    ASSERT_EQ(runTool("cjpeg", {"-outfile", jpg, ppm}).exitCode, 0);
    ASSERT_EQ(runConverter(GetParam(), {"-out", "pcx", "-c", "1", "-o", pcx, jpg}).exitCode, 0);
    EXPECT_EQ(wordAt(readFile(pcx), 12), 150);
}

// A JPEG that cannot be mapped (here a named pipe) is streamed, and converts to the very file.
TEST_P(NconvertResolution, AJpegFromAPipeConvertsAsFromAFile) {
    if (!available(GetParam())) GTEST_SKIP() << "build cannot run here";
    QTemporaryDir dir;
    const QString ppm = dir.filePath("in.ppm"), jpg = dir.filePath("in.jpg"), pipe = dir.filePath("pipe.jpg");
    writePatternPpm(ppm, 1275, 203);
    ASSERT_EQ(runTool("cjpeg", {"-quality", "100", "-sample", "2x2", "-outfile", jpg, ppm}).exitCode, 0);
    ASSERT_EQ(
        runConverter(GetParam(), {"-out", "pcx", "-c", "1", "-o", dir.filePath("file.pcx"), jpg}).exitCode,
        0);

    ASSERT_EQ(runTool("mkfifo", {pipe}).exitCode, 0);
    QProcess writer;  // blocks until the converter opens the pipe
    writer.start("sh", {"-c", "exec cat \"$0\" > \"$1\"", jpg, pipe});
    ASSERT_TRUE(writer.waitForStarted());
    const RunResult run =
        runConverter(GetParam(), {"-out", "pcx", "-c", "1", "-o", dir.filePath("pipe.pcx"), pipe});
    if (!writer.waitForFinished(5000)) writer.kill();
    ASSERT_EQ(run.exitCode, 0) << run.standardError.constData();
    EXPECT_EQ(readFile(dir.filePath("pipe.pcx")), readFile(dir.filePath("file.pcx")));
}

INSTANTIATE_TEST_SUITE_P(Builds, NconvertResolution, ::testing::Values(Build::I386, Build::X86_64),
                         [](const auto& info) {
                             return std::string(info.param == Build::I386 ? "i386" : "x86_64");
                         });

}  // namespace
