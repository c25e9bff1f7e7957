#include "tests/nconvert/ImageFiles.h"

#include <QFile>
#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace nconverttest {

namespace {

// Reads one header number, skipping blanks and comments.
bool nextNumber(const QByteArray& data, qsizetype& pos, int& value) {
    while (pos < data.size()) {
        if (data[pos] == '#') {
            while (pos < data.size() && data[pos] != '\n') ++pos;
        } else if (std::isspace(static_cast<unsigned char>(data[pos]))) {
            ++pos;
        } else {
            break;
        }
    }
    if (pos >= data.size() || !std::isdigit(static_cast<unsigned char>(data[pos]))) return false;
    value = 0;
    while (pos < data.size() && std::isdigit(static_cast<unsigned char>(data[pos])))
        value = value * 10 + (data[pos++] - '0');
    return true;
}

}  // namespace

RgbPicture parsePnm(const QByteArray& data) {
    if (data.size() < 2 || data[0] != 'P' || (data[1] != '5' && data[1] != '6')) return {};
    const int channels = data[1] == '6' ? 3 : 1;
    qsizetype pos = 2;
    int width = 0, height = 0, maxval = 0;
    if (!nextNumber(data, pos, width) || !nextNumber(data, pos, height) || !nextNumber(data, pos, maxval))
        return {};
    ++pos;  // the one blank after maxval
    const qsizetype count = qsizetype(width) * height;
    if (maxval != 255 || data.size() - pos < count * channels) return {};

    RgbPicture picture{width, height, {}};
    picture.rgb.reserve(static_cast<std::size_t>(count) * 3);
    for (qsizetype i = 0; i < count; ++i) {
        for (int c = 0; c < 3; ++c) {
            picture.rgb.push_back(
                static_cast<std::uint8_t>(data[pos + i * channels + (channels == 3 ? c : 0)]));
        }
    }
    return picture;
}

int largestDifference(const RgbPicture& a, const RgbPicture& b) {
    if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size()) return -1;
    int largest = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i)
        largest = std::max(largest, std::abs(int(a.rgb[i]) - int(b.rgb[i])));
    return largest;
}

void writePatternPpm(const QString& path, int width, int height) {
    QByteArray data = QStringLiteral("P6\n%1 %2\n255\n").arg(width).arg(height).toLatin1();
    unsigned seed = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = int((seed >> 16) % 32);
            // Grey strokes on paper above (rows without colour), white paper below (long runs of
            // 255, rows alike), a busy band of colour between
            const bool text = y < height / 3;
            const bool flat = text || y >= height - height / 4;
            const int paper = text && (x / 3 + y) % 4 == 0 ? 40 + noise : 255;
            const int r = flat ? paper : (x * 255) / std::max(1, width - 1);
            const int g = flat ? paper : (y * 255) / std::max(1, height - 1);
            const int b = flat ? paper : std::clamp(200 + noise - (x % 7) * 20, 0, 255);
            data.append(char(r)).append(char(g)).append(char(b));
        }
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(data);
}

int wordAt(const QByteArray& file, int offset) {
    if (file.size() < offset + 2) return -1;
    return static_cast<unsigned char>(file[offset]) | (static_cast<unsigned char>(file[offset + 1]) << 8);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace nconverttest
