#include "JpegReader.h"

#include <fcntl.h>
#include <jerror.h>
#include <jpeglib.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "ConvertError.h"
#include "HalfColourRows.h"

namespace nconvert {

namespace {

constexpr int kDefaultDpi = 150;
constexpr int kMaxDpi = 65535;  // what the PCX header can hold
constexpr int kDotsPerInch = 1;
constexpr int kDotsPerCentimetre = 2;
constexpr int kRowsPerRead = 4;
// No page picture the program makes is larger: the engine sends at most 512 MiB of 32-bit pixels.
// A few hundred bytes of JPEG can claim 65500 x 65500 pixels, and some damage (a marker inside
// arithmetic-coded data) only shows after the last row: such a file would keep the converter
// decoding for minutes.
constexpr std::uint64_t kMostPixels = (std::uint64_t(512) << 20) / 4;
// A file up to this size is mapped whole and decoded from memory: libjpeg's file source refills a
// 4 KB buffer, and its fast Huffman decoder runs only while a whole 4:2:0 block group (3 KB) is
// left in the buffer, so from a file most of a page took the slow one (5% of a page's time).
// Larger files are streamed. The program's JPEG is its own and nobody shortens it meanwhile.
constexpr off_t kMostBytesInMemory = off_t(64) << 20;

// libjpeg reports a failure through error_exit and a warning through emit_message(-1); both land
// here and jump back to the step's guard.
struct ErrorTrap {
    jpeg_error_mgr manager;  // first: libjpeg's pointer to it is a pointer to the trap
    std::jmp_buf jump;
    int code;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void trapError(j_common_ptr cinfo) {
    ErrorTrap* trap = reinterpret_cast<ErrorTrap*>(cinfo->err);
    trap->code = trap->manager.msg_code;
    trap->manager.format_message(cinfo, trap->message);
    std::longjmp(trap->jump, 1);
}

// A warning means damaged data that libjpeg would paper over (a cut file gets a grey remainder):
// an error here.
extern "C" void trapMessage(j_common_ptr cinfo, int level) {
    if (level < 0) trapError(cinfo);
}

int dpiOf(int density, int unit) {
    if (density <= 0) return kDefaultDpi;
    if (unit == kDotsPerInch) return std::min(density, kMaxDpi);
    if (unit == kDotsPerCentimetre) {
        return static_cast<int>(std::min(std::lround(density * 2.54), long{kMaxDpi}));
    }
    return kDefaultDpi;  // only an aspect ratio
}

}  // namespace

struct JpegDecoder {
    jpeg_decompress_struct cinfo{};
    ErrorTrap trap{};
    std::FILE* file = nullptr;
    // The whole file mapped, when it is read at once.
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    bool created = false;
    JSAMPARRAY rows = nullptr;
    int rowsRead = 0;
    std::unique_ptr<HalfColourRows> halfColour;  // a 4:2:0 colour file, read as its planes

    ~JpegDecoder() {
        if (created) jpeg_destroy_decompress(&cinfo);
        if (file != nullptr) std::fclose(file);
        if (bytes != nullptr) ::munmap(const_cast<unsigned char*>(bytes), size);
    }
};

namespace {

// The steps that call into libjpeg. They run under guarded(), so they create nothing with a
// destructor: a libjpeg error jumps out of them.
void readHeader(JpegDecoder& d) {
    d.cinfo.err = jpeg_std_error(&d.trap.manager);
    d.trap.manager.error_exit = trapError;
    d.trap.manager.emit_message = trapMessage;
    d.created = true;  // destroying a half-made decoder is safe
    jpeg_create_decompress(&d.cinfo);
    if (d.file != nullptr) {
        jpeg_stdio_src(&d.cinfo, d.file);
    } else {
        jpeg_mem_src(&d.cinfo, d.bytes, static_cast<unsigned long>(d.size));
    }
    jpeg_read_header(&d.cinfo, TRUE);
}

void startDecoding(JpegDecoder& d) {
    jpeg_start_decompress(&d.cinfo);
    const JDIMENSION rowBytes = d.cinfo.output_width * d.cinfo.output_components;
    d.rows = d.cinfo.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&d.cinfo), JPOOL_IMAGE, rowBytes,
                                       kRowsPerRead);
}

void readScanlines(JpegDecoder& d) {
    int count = 0;
    while (count < kRowsPerRead && d.cinfo.output_scanline < d.cinfo.output_height) {
        const JDIMENSION room = JDIMENSION(kRowsPerRead - count);
        const JDIMENSION got = jpeg_read_scanlines(&d.cinfo, d.rows + count, room);
        if (got == 0) break;  // cannot happen with a file source; finish() reports the missing rows
        count += static_cast<int>(got);
    }
    d.rowsRead = count;
}

void readBand(JpegDecoder& d) {
    HalfColourRows& band = *d.halfColour;
    JSAMPARRAY planes[3] = {band.brightnessRows(), band.blueRows(), band.redRows()};
    jpeg_read_raw_data(&d.cinfo, planes, HalfColourRows::kBandRows);
    band.bandRead();
}

void finishDecoding(JpegDecoder& d) { jpeg_finish_decompress(&d.cinfo); }

// Brightness at full resolution and both colours at half resolution both ways (what the
// program's own pages are); too narrow a picture takes libjpeg's own way, which treats a colour
// row of one or two samples differently.
bool halfColourPlanes(const jpeg_decompress_struct& cinfo) {
    const jpeg_component_info* planes = cinfo.comp_info;
    return cinfo.num_components == 3 && cinfo.jpeg_color_space == JCS_YCbCr && cinfo.image_width >= 16 &&
           planes[0].h_samp_factor == 2 && planes[0].v_samp_factor == 2 && planes[1].h_samp_factor == 1 &&
           planes[1].v_samp_factor == 1 && planes[2].h_samp_factor == 1 && planes[2].v_samp_factor == 1;
}

// libjpeg's errors jump back to the setjmp here, over the step and libjpeg's own C frames only.
bool guarded(JpegDecoder& d, void (*step)(JpegDecoder&)) {
    if (setjmp(d.trap.jump) != 0) return false;
    step(d);
    return true;
}

}  // namespace

JpegReader::JpegReader(const std::string& path) : path_(path), decoder_(std::make_unique<JpegDecoder>()) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw ConvertError("cannot open input file " + path + ": " + std::strerror(errno));
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        throw ConvertError("cannot read input file " + path + ": " + std::strerror(error));
    }
    if (S_ISDIR(status.st_mode)) {
        ::close(fd);
        throw ConvertError("input " + path + " is a folder, not a file");
    }
    if (S_ISREG(status.st_mode) && status.st_size > 0 && status.st_size <= kMostBytesInMemory) {
        const auto size = static_cast<std::size_t>(status.st_size);
        void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        const int error = errno;
        ::close(fd);
        if (mapped == MAP_FAILED)
            throw ConvertError("cannot read input file " + path + ": " + std::strerror(error));
        decoder_->bytes = static_cast<const unsigned char*>(mapped);
        decoder_->size = size;
    } else if ((decoder_->file = ::fdopen(fd, "rb")) == nullptr) {
        const int error = errno;
        ::close(fd);
        throw ConvertError("cannot read input file " + path + ": " + std::strerror(error));
    }

    jpeg_decompress_struct& cinfo = decoder_->cinfo;
    if (!guarded(*decoder_, readHeader)) {
        const int code = decoder_->trap.code;
        if (code == JERR_NO_SOI || code == JERR_INPUT_EMPTY) throw ConvertError(path + ": not a JPEG file");
        fail("not a readable JPEG file");
    }
    if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) {
        throw ConvertError(path + ": CMYK JPEG files are not supported");
    }
    if (std::uint64_t(cinfo.image_width) * cinfo.image_height > kMostPixels) {
        throw ConvertError(path + ": the picture of " + std::to_string(cinfo.image_width) + " x " +
                           std::to_string(cinfo.image_height) + " pixels is larger than any page (at most " +
                           std::to_string(kMostPixels) + " pixels)");
    }
    cinfo.out_color_space = cinfo.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
    const bool halfColour = halfColourPlanes(cinfo);
    if (halfColour) {
        // The planes as they are decoded; the rows are made from them as libjpeg would make them.
        cinfo.raw_data_out = TRUE;
        cinfo.out_color_space = JCS_YCbCr;
    }
    // As djpeg decodes. The fast IDCT saves nothing measurable here and is off by up to 20 levels
    // at quality 100.
    cinfo.dct_method = JDCT_ISLOW;
    if (!guarded(*decoder_, startDecoding)) fail("cannot decode the JPEG file");
    if (halfColour) {
        decoder_->halfColour =
            std::make_unique<HalfColourRows>(int(cinfo.output_width), int(cinfo.output_height),
                                             int(cinfo.MCUs_per_row) * HalfColourRows::kBandRows);
    }

    info_.width = static_cast<int>(cinfo.output_width);
    info_.height = static_cast<int>(cinfo.output_height);
    info_.channels = cinfo.output_components;
    const bool jfif = cinfo.saw_JFIF_marker;
    info_.dpiX = jfif ? dpiOf(cinfo.X_density, cinfo.density_unit) : kDefaultDpi;
    info_.dpiY = jfif ? dpiOf(cinfo.Y_density, cinfo.density_unit) : kDefaultDpi;
}

JpegReader::~JpegReader() = default;

int JpegReader::readRows() {
    if (HalfColourRows* band = decoder_->halfColour.get()) {
        while (!band->nextBandReady() && band->bandsRead() < band->bandsInPicture()) {
            if (!guarded(*decoder_, readBand)) fail("cannot decode the JPEG file");
        }
        return band->makeBand();
    }
    if (decoder_->cinfo.output_scanline >= decoder_->cinfo.output_height) return 0;
    if (!guarded(*decoder_, readScanlines)) fail("cannot decode the JPEG file");
    return decoder_->rowsRead;
}

const std::uint8_t* JpegReader::row(int index) const {
    return decoder_->halfColour ? decoder_->halfColour->row(index) : decoder_->rows[index];
}

JpegReader::Layout JpegReader::layout(int index) const {
    if (!decoder_->halfColour) return Layout::Interleaved;
    return decoder_->halfColour->grey(index) ? Layout::Grey : Layout::Planar;
}

void JpegReader::finish() {
    if (!guarded(*decoder_, finishDecoding)) fail("cannot decode the JPEG file");
}

void JpegReader::fail(const char* what) const {
    throw ConvertError(path_ + ": " + what + ": " + decoder_->trap.message);
}

}  // namespace nconvert
