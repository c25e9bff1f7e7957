#pragma once

#include <string>
#include <vector>

namespace nconvert {

// What one command line asks for.
struct Options {
    bool help = false;
    bool quiet = false;
    std::string format;      // -out
    std::string outputPath;  // -o
    std::string inputPath;   // the last argument
};

// Reads the arguments after the program name. Options come in any order, the input file last.
// Throws ConvertError naming the problem.
Options parseOptions(const std::vector<std::string>& args);

// The text -help prints.
const char* usageText();

}  // namespace nconvert
