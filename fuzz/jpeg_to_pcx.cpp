// The converter's whole way from a JPEG file to a PCX file, on any input file: a conversion that
// fails leaves nothing in the output folder; one that succeeds leaves a PCX file whose rows,
// decoded again, are the JPEG's rows as the reader gives them.
#include <dirent.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "nconvert/Convert.h"
#include "nconvert/ConvertError.h"
#include "nconvert/JpegReader.h"

namespace {

std::string& outputFolder() {
    static std::string folder = [] {
        std::string pattern =
            (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/fuzz-pcx-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        std::atexit([] { ::rmdir(outputFolder().c_str()); });
        return pattern;
    }();
    return folder;
}

bool folderEmpty(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) std::abort();
    bool empty = true;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") empty = false;
    }
    ::closedir(dir);
    return empty;
}

int wordAt(const std::vector<std::uint8_t>& file, std::size_t at) { return file[at] | (file[at + 1] << 8); }

// The rows of a PCX file as the converter writes it (8 bits per plane, run-length encoded, one
// plane line after another), interleaved again; empty when it is not such a file.
std::vector<std::uint8_t> decodePcx(const std::vector<std::uint8_t>& file, int& width, int& height,
                                    int& planes) {
    if (file.size() < 128 || file[0] != 0x0A || file[1] != 5 || file[2] != 1 || file[3] != 8) return {};
    width = wordAt(file, 8) + 1;
    height = wordAt(file, 10) + 1;
    planes = file[65];
    const int bytesPerLine = wordAt(file, 66);
    if (planes != 1 && planes != 3) return {};
    std::vector<std::uint8_t> line(std::size_t(bytesPerLine) * std::size_t(planes));
    std::vector<std::uint8_t> rows;
    std::size_t at = 128;
    for (int y = 0; y < height; ++y) {
        for (std::size_t filled = 0; filled < line.size();) {
            if (at >= file.size()) return {};
            std::size_t count = 1;
            std::uint8_t value = file[at++];
            if ((value & 0xC0) == 0xC0) {
                count = value & 0x3F;
                if (at >= file.size()) return {};
                value = file[at++];
            }
            if (filled + count > line.size()) return {};  // a run crossing the end of a row
            std::fill_n(line.begin() + std::ptrdiff_t(filled), count, value);
            filled += count;
        }
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < planes; ++c)
                rows.push_back(line[std::size_t(c) * bytesPerLine + std::size_t(x)]);
        }
    }
    // A grey picture ends in its palette, a colour one right after its rows.
    if (at + (planes == 1 ? 769 : 0) != file.size()) return {};
    return rows;
}

// Four times the pixels of a page drawn at 150 dpi. Larger pictures cost many seconds each under
// the sanitizers and teach the fuzzer nothing new; the converter's own tests take the large ones.
constexpr std::uint64_t kLargestPicture = std::uint64_t(1) << 23;

bool tooLargeToFuzz(const std::string& path) {
    try {
        const nconvert::JpegReader header(path);
        return std::uint64_t(header.info().width) * std::uint64_t(header.info().height) > kLargestPicture;
    } catch (const nconvert::ConvertError&) {
        return false;  // the conversion meets the same failure
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    nconvert::Options options;
    options.format = "pcx";
    options.inputPath = fuzz::inputFile(data, size);
    if (tooLargeToFuzz(options.inputPath)) return 0;
    options.outputPath = outputFolder() + "/page.pcx";
    nconvert::ImageInfo info;
    try {
        info = nconvert::convert(options);
    } catch (const nconvert::ConvertError&) {
        if (!folderEmpty(outputFolder())) std::abort();  // no partial file, no temporary
        return 0;
    }
    std::ifstream in(options.outputPath, std::ios::binary);
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
    std::remove(options.outputPath.c_str());
    int width = 0, height = 0, planes = 0;
    const std::vector<std::uint8_t> rows = decodePcx(file, width, height, planes);
    if (rows.empty() || width != info.width || height != info.height || planes != info.channels) std::abort();

    // The PCX holds the pixels of the reader's rows, however a row is laid out.
    nconvert::JpegReader reader(options.inputPath);
    const auto rowWidth = std::size_t(info.width);
    const auto channels = std::size_t(info.channels);
    std::size_t at = 0;
    while (const int count = reader.readRows()) {
        for (int i = 0; i < count; ++i) {
            const std::uint8_t* row = reader.row(i);
            const nconvert::JpegReader::Layout layout = reader.layout(i);
            for (std::size_t x = 0; x < rowWidth; ++x) {
                for (std::size_t c = 0; c < channels; ++c, ++at) {
                    const std::uint8_t pixel = layout == nconvert::JpegReader::Layout::Grey ? row[x]
                                               : layout == nconvert::JpegReader::Layout::Planar
                                                   ? row[c * rowWidth + x]
                                                   : row[x * channels + c];
                    if (pixel != rows[at]) std::abort();
                }
            }
        }
    }
    if (at != rows.size()) std::abort();
    return 0;
}
