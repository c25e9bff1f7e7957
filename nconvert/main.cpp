// nconvert: converts one JPEG image to a run-length encoded PCX image.
// Exit code 0 on success; otherwise 1 and one line on standard error, and no output file.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "Convert.h"
#include "ConvertError.h"
#include "Options.h"
#include "OutputFile.h"

namespace {

using namespace nconvert;

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
