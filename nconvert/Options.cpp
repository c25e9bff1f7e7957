#include "Options.h"

#include <cctype>

#include "ConvertError.h"

namespace nconvert {

namespace {

const std::string& valueOf(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size()) throw ConvertError("option " + args[i] + " needs a value");
    return args[++i];
}

}  // namespace

Options parseOptions(const std::vector<std::string>& args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool last = i + 1 == args.size();
        if (arg == "-help" || arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "-quiet") {
            options.quiet = true;
        } else if (arg == "-overwrite") {
            // The output is always replaced; accepted for compatible command lines.
        } else if (arg == "-out") {
            options.format = valueOf(args, i);
            for (char& c : options.format) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (arg == "-o") {
            options.outputPath = valueOf(args, i);
        } else if (arg == "-c") {
            // Run-length encoding is the one compression PCX knows.
            const std::string& value = valueOf(args, i);
            if (value != "1")
                throw ConvertError("unsupported compression -c " + value + " (PCX supports -c 1 only)");
        } else if (arg == "--" && i + 2 == args.size()) {
            options.inputPath = args[++i];
        } else if (!arg.empty() && arg[0] == '-' && arg.size() > 1) {
            throw ConvertError("unknown option " + arg);
        } else if (!last) {
            throw ConvertError("unexpected argument " + arg + " (the input file comes last)");
        } else {
            options.inputPath = arg;
        }
    }
    if (options.help) return options;
    if (options.inputPath.empty()) throw ConvertError("no input file given");
    if (options.format.empty()) throw ConvertError("no output format given (use -out pcx)");
    if (options.format != "pcx")
        throw ConvertError("unknown output format " + options.format + " (only pcx)");
    if (options.outputPath.empty()) throw ConvertError("no output file given (use -o FILE)");
    return options;
}

const char* usageText() {
    return "Usage: nconvert -out pcx [-c 1] -o OUTPUT.pcx [-quiet] [-overwrite] INPUT.jpg\n"
           "Converts a JPEG image (baseline or progressive, colour or greyscale) to a\n"
           "run-length encoded PCX image. The output file is replaced if it exists.\n";
}

}  // namespace nconvert
