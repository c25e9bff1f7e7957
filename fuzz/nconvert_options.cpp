// The converter's option parser, on any argument list (the input's zero bytes separate the
// arguments): it answers a complete request or refuses with a ConvertError.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "nconvert/ConvertError.h"
#include "nconvert/Options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    if (size > 0) args.push_back(current);
    try {
        const nconvert::Options options = nconvert::parseOptions(args);
        if (!options.help &&
            (options.format != "pcx" || options.outputPath.empty() || options.inputPath.empty()))
            std::abort();
    } catch (const nconvert::ConvertError&) {
    }
    return 0;
}
