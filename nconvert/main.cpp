// nconvert: converts one JPEG image to a run-length encoded PCX image.
// Exit code 0 on success; otherwise 1 and one line on standard error, and no output file.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "ConvertError.h"
#include "JpegReader.h"
#include "Options.h"
#include "OutputFile.h"
#include "PcxWriter.h"

namespace {

using namespace nconvert;

// Each row is encoded as soon as it is decoded, so only a few rows are ever in memory: on a
// machine where every fresh page costs, a whole picture's buffers would cost more than decoding.
ImageInfo convert(const Options& options) {
    JpegReader reader(options.inputPath);
    OutputFile output(options.outputPath);
    PcxWriter pcx(output, reader.info());
    while (const int rows = reader.readRows()) {
        for (int i = 0; i < rows; ++i) pcx.writeRow(reader.row(i));
    }
    reader.finish();
    pcx.finish();
    output.commit();
    return reader.info();
}

// One line on standard error, whatever characters the file names hold.
void reportError(std::string message) {
    for (char& c : message) {
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    }
    std::fprintf(stderr, "nconvert: %s\n", message.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    removeTemporaryOnSignals();
    try {
        const Options options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::fputs(usageText(), stdout);
            return 0;
        }
        const ImageInfo image = convert(options);
        if (!options.quiet) {
            std::printf("Converted %s to %s (%dx%d)\n", options.inputPath.c_str(), options.outputPath.c_str(),
                        image.width, image.height);
        }
        return 0;
    } catch (const ConvertError& error) {
        reportError(error.what());
    } catch (const std::bad_alloc&) {
        reportError("out of memory");
    }
    return 1;
}
