#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nconvert {

// The whole content of a file. Throws ConvertError naming the file and the reason.
std::vector<std::uint8_t> readWholeFile(const std::string& path);

// Makes signals that end the program remove a temporary file of replaceFile first, and turns an
// exceeded file-size limit into a write error.
void removeTemporaryOnSignals();

// Writes the bytes to a temporary file beside `path`, then renames it over `path`, so a failed
// run leaves neither a partial file nor a damaged earlier one. Throws ConvertError.
void replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace nconvert
