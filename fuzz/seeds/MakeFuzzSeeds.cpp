// make_fuzz_seeds CORPUS: writes the seed inputs of every fuzz target into CORPUS/<target>/, made
// by the program's own writers (the message codec, the requests, the payload codecs, the page
// picture file, the JPEG writer) and the tests' (their documents and JPEG cases).
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <string>
#include <vector>

#include "conversion/PagePictureFile.h"
#include "conversion/SaveAsJPG.h"
#include "conversion/Shell32.h"
#include "protocol/HostRecords.h"
#include "protocol/Indents.h"
#include "protocol/PagePicture.h"
#include "protocol/Requests.h"
#include "tests/nconvert/ImageFiles.h"
#include "tests/support/DocxWriter.h"

namespace {

QString corpus;

void writeSeed(const QString& target, const QString& name, const std::string& bytes) {
    const QString folder = corpus + QLatin1Char('/') + target;
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        std::fprintf(stderr, "make_fuzz_seeds: cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

std::string readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_fuzz_seeds: cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    return file.readAll().toStdString();
}

protocol::PagePicture smallPicture() {
    protocol::PagePicture picture;
    picture.width = 3;
    picture.height = 2;
    for (std::uint32_t pixel : {0xffffffffu, 0xff000000u, 0xff336699u, 0xffffffffu, 0xffc0c0c0u, 0xff0000ffu})
        picture.pixels.append(reinterpret_cast<const char*>(&pixel), sizeof pixel);
    return picture;
}

void protocolSeeds() {
    using namespace protocol;
    std::string edits;
    appendIndentEdit(edits, {0, true, 0});
    appendIndentEdit(edits, {12, false, 0});
    const std::string indents = encodeIndents({{-36, 0}, {12.5, -5.05}, {0, 7}});
    const std::string refused =
        encodeIndentWriteFailures({{1, 5941, "The requested member of the collection does not exist."}});
    const std::vector<std::pair<const char*, Message>> messages = {
        {"hello", HelloRequest{}.encode()},
        {"open", OpenRequest{"/home/user/My Documents/report 1 (final) \xc3\xa9.docx"}.encode()},
        {"readahead", ReadAheadRequest{"/home/user/next.doc"}.encode()},
        {"property", PropertyRequest{}.encode()},
        {"setpagefit", SetPageFitRequest{2}.encode()},
        {"endkey", EndKeyRequest{wd::Story, 1}.encode()},
        {"goto", GoToRequest{wd::GoToPage, wd::GoToNext, 2, 1}.encode()},
        {"moveup", MoveUpRequest{wd::Line, 200, 1}.encode()},
        {"close", CloseRequest{}.encode()},
        {"paragraphs-reply", Message("ok").set("count", 3).setPayload(indents)},
        {"setindents", Message("setindents").setPayload(edits)},
        {"setindents-reply", Message("ok").set("failed", 1).setPayload(refused)},
        {"error-reply", Message("error").set("number", 5941).set("description", "No such paragraph: 7 = 7%")},
        {"cut-reply", cutReply(smallPicture())},
        {"cut-reply-empty", cutReply(std::nullopt)},
    };
    std::string all;
    for (const auto& [name, message] : messages) {
        const std::string wire = message.encode();
        all += wire;
        writeSeed("message_codec", name, '\xff' + wire);  // whole pieces
        writeSeed("requests", name, wire);
    }
    writeSeed("message_codec", "all-bytewise", '\x00' + all);
    writeSeed("message_codec", "all-in-sevens", '\x06' + all);
    writeSeed("requests", "all", all);

    writeSeed("indent_payloads", "paragraphs", indents);
    writeSeed("indent_payloads", "edits", edits);
    writeSeed("indent_payloads", "refused", refused);
    writeSeed("page_picture_payload", "picture", cutReply(smallPicture()).encode());
    writeSeed("page_picture_payload", "empty", cutReply(std::nullopt).encode());
    PagePicture grey = smallPicture();
    grey.format = PixelFormat::Grey8;
    grey.pixels.resize(grey.bytesPerRow() * std::size_t(grey.height));
    writeSeed("page_picture_payload", "grey", cutReply(grey).encode());
    PagePicture banded;  // 2 x 20: a grey band of 16 rows, then one of 4 with colour
    banded.width = 2;
    banded.height = 20;
    banded.format = PixelFormat::Banded;
    banded.pixels.assign(2 * 16, '\x80');
    for (int i = 0; i < 2 * 4; ++i) banded.pixels += std::string("\x10\x20\x30\xff", 4);
    banded.pixels += std::string("\0\1", 2);
    writeSeed("page_picture_payload", "banded", cutReply(banded).encode());
    writeSeed("host_records", "host",
              registrationName(4242) + '\0' + "/tmp/marrowdale-wordhost-Ab12Cd/.owner");
}

void documentSeeds(const QString& scratch, const QString& sourceDir) {
    const std::string docx = (scratch + QStringLiteral("/seed.docx")).toStdString();
    testdocx::writeDocx(docx, testdocx::pagedText(2, 3));
    writeSeed("document_sniffer", "paged.docx", readFile(QString::fromStdString(docx)));
    testdocx::writeDocx(docx, {{"word/document.xml", testdocx::documentXml(testdocx::paragraph(""), true)}});
    writeSeed("document_sniffer", "strict.docx", readFile(QString::fromStdString(docx)));
    const std::string doc = readFile(sourceDir + QStringLiteral("/tests/data/engine/two-pages-word97.doc"));
    writeSeed("document_sniffer", "word97.doc", doc);
    writeSeed("ole_storage", "word97.doc", doc);
    writeSeed("document_sniffer", "text.rtf", "{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\f0 Text\\par}");
    writeSeed("document_sniffer", "word2003.xml",
              "<?xml version=\"1.0\"?><w:wordDocument "
              "xmlns:w=\"http://schemas.microsoft.com/office/word/2003/wordml\"><w:body/></w:wordDocument>");
    std::string word2(32, '\0');
    word2[0] = '\x9b';
    word2[1] = '\xa5';
    writeSeed("document_sniffer", "word2.doc", word2);
}

void jpegSeeds(const QString& scratch) {
    // What the converter gets in a conversion: the page pictures as the JPEG writer writes them.
    QImage page(17, 11, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.fillRect(2, 3, 9, 4, QColor(0x33, 0x66, 0x99));
    painter.end();
    const QString jpg = scratch + QStringLiteral("/seed.jpg");
    const std::pair<const char*, QImage> pages[] = {{"page_17x11.jpg", page},
                                                    {"white_1x1.jpg", page.copy(0, 0, 1, 1)},
                                                    {"odd_3x5.jpg", page.copy(1, 2, 3, 5)}};
    for (const auto& [name, picture] : pages) {
        SaveAsJPG::SaveBitmapAsJPG(picture, jpg, 100);
        const std::string bytes = readFile(jpg);
        writeSeed("jpeg_reader", name, bytes);
        writeSeed("jpeg_to_pcx", name, bytes);
    }
    // The converter tests' kinds of JPEG, smaller: progressive, subsampled, grey.
    const QString ppm = scratch + QStringLiteral("/seed.ppm");
    const std::pair<const char*, QStringList> kinds[] = {
        {"progressive_8x5.jpg", {"-quality", "90", "-progressive"}},
        {"subsampled_420_20x9.jpg", {"-quality", "75", "-progressive", "-sample", "2x2"}},
        {"grey_9x4.jpg", {"-quality", "95", "-grayscale"}},
        {"grey_progressive_7x3.jpg", {"-quality", "95", "-grayscale", "-progressive"}},
        {"restarts_23x5.jpg", {"-quality", "90", "-restart", "1B"}},
        {"arithmetic_26x5.jpg", {"-quality", "90", "-arithmetic"}},
    };
    int width = 8;
    for (const auto& [name, options] : kinds) {
        nconverttest::writePatternPpm(ppm, width, 5);
        width += 3;
        QProcess cjpeg;
        cjpeg.start(QStringLiteral("cjpeg"), options + QStringList{QStringLiteral("-outfile"), jpg, ppm});
        if (!cjpeg.waitForFinished(30000) || cjpeg.exitCode() != 0) {
            std::fprintf(stderr, "make_fuzz_seeds: cjpeg failed: %s\n",
                         cjpeg.readAllStandardError().constData());
            std::exit(1);
        }
        const std::string bytes = readFile(jpg);
        writeSeed("jpeg_reader", name, bytes);
        writeSeed("jpeg_to_pcx", name, bytes);
    }
}

void converterSeeds(const QString& scratch) {
    // The command line of one page as the conversion writes it, split as the program is started.
    const QString command = QStringLiteral("-out pcx -c 1 -o ") +
                            Shell32::QuoteArgument(QStringLiteral("/out/report_1.pcx")) + QLatin1Char(' ') +
                            Shell32::QuoteArgument(QStringLiteral("/out/my \"page\"_1.jpg"));
    const auto joined = [](const QStringList& args) { return args.join(QChar(u'\0')).toStdString(); };
    writeSeed("nconvert_options", "page",
              joined(Shell32::SplitCommandLine(QStringLiteral("nconvert ") + command).mid(1)));
    writeSeed("nconvert_options", "help", "-help");
    writeSeed("nconvert_options", "quiet",
              joined({"-quiet", "-overwrite", "-out", "PCX", "-o", "out.pcx", "--", "-in.jpg"}));

    const QString bmp = scratch + QStringLiteral("/seed.bmp");
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(QColor(0x33, 0x66, 0x99));
    const std::pair<const char*, QImage> pictures[] = {
        {"rgb32_3x2.bmp", picture},
        {"white_1x1.bmp", picture.copy(0, 0, 1, 1)},
        {"argb32_5x1.bmp",
         [] {
             QImage translucent(5, 1, QImage::Format_ARGB32);
             translucent.fill(QColor(255, 0, 0, 128));
             return translucent;
         }()},
        {"grey8_3x2.bmp", picture.convertToFormat(QImage::Format_Grayscale8)},
        {"banded_3x40.bmp",
         [] {
             QImage page(3, 40, QImage::Format_RGB32);
             page.fill(Qt::white);
             page.setPixel(1, 20, qRgb(0x33, 0x66, 0x99));  // colour in the second band of three
             return page;
         }()},
    };
    for (const auto& [name, image] : pictures) {
        Word1::savePagePicture(image, bmp);
        writeSeed("page_picture_file", name, readFile(bmp));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds CORPUS\n");
        return 2;
    }
    corpus = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir scratch;
    protocolSeeds();
    documentSeeds(scratch.path(), QStringLiteral(MARROWDALE_SOURCE_DIR));
    jpegSeeds(scratch.path());
    converterSeeds(scratch.path());
    return 0;
}
