// Real documents through the whole product: marrowdale-batch drives the real window, the engine
// host, the page image writer and the converter. The pages are checked against the engine's own
// rendering with ImageMagick, which nobody here wrote.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/support/ImageMagick.h"
#include "tests/support/ScratchHome.h"

namespace {

QByteArray contentsHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Runs a program to its end; its standard output, or a failure.
QByteArray run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
               int* exitCode = nullptr, QByteArray* errors = nullptr) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(600000)) << program.toStdString();
    if (exitCode != nullptr)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (errors != nullptr) *errors = process.readAllStandardError();
    return process.readAllStandardOutput();
}

// How far a PCX page is from the engine's own picture of it: ImageMagick's normalised RMSE.
double distance(const QString& pcx, const QString& png) {
    QProcess compare;
    compare.start(testsupport::imageMagickTool("compare"),
                  {QStringLiteral("-metric"), QStringLiteral("RMSE"), pcx, png, QStringLiteral("null:")});
    compare.waitForFinished(60000);
    const QString printed = QString::fromUtf8(compare.readAllStandardError());  // "123.4 (0.0019)"
    const QString normalised = printed.section(QLatin1Char('('), 1).section(QLatin1Char(')'), 0, 0);
    bool ok = false;
    const double value = normalised.toDouble(&ok);
    return ok ? value : 1.0;
}

QSize imageSize(const QString& path) {
    const QByteArray size = run(testsupport::imageMagickTool("identify"),
                                {QStringLiteral("-format"), QStringLiteral("%w %h"), path},
                                QProcessEnvironment::systemEnvironment());
    const QList<QByteArray> parts = size.split(' ');
    return parts.size() == 2 ? QSize(parts[0].toInt(), parts[1].toInt()) : QSize();
}

// Engine processes whose environment names this temporary folder.
int hostsUsing(const QString& tempFolder) {
    int count = 0;
    const QByteArray marker = "TEMP=" + tempFolder.toLocal8Bit() + '\0';
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile environ(QStringLiteral("/proc/%1/environ").arg(pid));
        if (!environ.open(QIODevice::ReadOnly)) continue;
        const QByteArray contents = environ.readAll() + '\0';
        QFile command(QStringLiteral("/proc/%1/cmdline").arg(pid));
        command.open(QIODevice::ReadOnly);
        if (contents.contains(marker) && command.readAll().contains("marrowdale-wordhost")) ++count;
    }
    return count;
}

TEST(EndToEnd, RealDocumentsBecomeOnePcxPerPageAndNothingElseIsLeft) {
    const QString docs = testsupport::testDocsDir();
    const QString samples = testsupport::programDir() + QStringLiteral("/Samples");
    const QStringList documents = {
        docs + QStringLiteral("/python-docx/test.docx"),
        docs + QStringLiteral("/python-docx/having-images.docx"),
        docs + QStringLiteral("/python-docx/sct-section-props.docx"),
        docs + QStringLiteral("/mammoth/tables.docx"),
        samples + QStringLiteral("/Sample-Letter.docx"),
        samples + QStringLiteral("/Sample-Memo.doc"),
        samples + QStringLiteral("/Sample-Report.docx"),
    };
    QTemporaryDir work;
    const QString out = work.path() + QStringLiteral("/out");
    const QString temp = work.path() + QStringLiteral("/temp");
    QDir().mkpath(out);
    QDir().mkpath(temp);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TEMP"), temp);

    std::map<QString, QByteArray> before;
    for (const QString& document : documents) {
        before[document] = contentsHash(document);
        ASSERT_FALSE(before[document].isEmpty()) << document.toStdString();
    }
    const QStringList folderBefore = QDir(samples).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

    int exitCode = -1;
    QByteArray boxes;
    const QByteArray printed =
        run(testsupport::programDir() + QStringLiteral("/marrowdale-batch"),
            QStringList{QStringLiteral("--out"), out} + documents, environment, &exitCode, &boxes);
    EXPECT_EQ(exitCode, 0) << boxes.toStdString();
    EXPECT_FALSE(boxes.contains("Application Error")) << boxes.toStdString();

    // One JSON line per document, then the total.
    const QList<QByteArray> lines = printed.trimmed().split('\n');
    ASSERT_EQ(lines.size(), documents.size() + 1) << printed.toStdString();
    EXPECT_TRUE(QJsonDocument::fromJson(lines.back()).object().contains(QStringLiteral("total_seconds")));

    for (int i = 0; i < documents.size(); ++i) {
        const QString& document = documents[i];
        SCOPED_TRACE(document.toStdString());
        const QJsonObject line = QJsonDocument::fromJson(lines[i]).object();
        EXPECT_EQ(line.value(QStringLiteral("doc")).toString(), document);

        // The engine's own rendering of the same document is the reference.
        const QString reference = work.path() + QStringLiteral("/render-%1").arg(i);
        int renderExit = -1;
        run(testsupport::programDir() + QStringLiteral("/marrowdale-wordhost"),
            {QStringLiteral("--render"), document, reference}, environment, &renderExit);
        ASSERT_EQ(renderExit, 0);
        const int pages = static_cast<int>(QDir(reference).entryList({QStringLiteral("page-*.png")}).size());
        ASSERT_GE(pages, 1);
        EXPECT_EQ(line.value(QStringLiteral("pcx")).toInt(), pages);

        const QString base = QFileInfo(document).completeBaseName();
        for (int page = 1; page <= pages; ++page) {
            const QString pcx = out + QStringLiteral("/%1_%2.pcx").arg(base).arg(page);
            const QString png = reference + QStringLiteral("/page-%1.png").arg(page);
            ASSERT_TRUE(QFile::exists(pcx)) << pcx.toStdString();
            EXPECT_EQ(imageSize(pcx), QImage(png).size()) << "page " << page;
            EXPECT_LT(distance(pcx, png), 0.03) << "page " << page;
        }
        EXPECT_FALSE(QFile::exists(out + QStringLiteral("/%1_%2.pcx").arg(base).arg(pages + 1)));
        EXPECT_EQ(contentsHash(document), before[document]) << "the document changed";
    }

    EXPECT_EQ(QDir(samples).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), folderBefore);
    EXPECT_TRUE(
        QDir(out).entryList({QStringLiteral("*.bmp"), QStringLiteral("*.jpg")}, QDir::Files).isEmpty());
    EXPECT_FALSE(QFile::exists(temp + QStringLiteral("/nconvert.exe")));
    EXPECT_EQ(hostsUsing(temp), 0);
}

}  // namespace
