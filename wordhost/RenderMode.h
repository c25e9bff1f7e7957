#pragma once

#include <string>

namespace wordhost {

// The diagnostic mode: lays DOC out and writes FOLDER/page-1.png ... at 150 dpi, then prints the
// page count on its last line. Returns 0, or non-zero after printing the error.
int renderDocument(const std::string& document, const std::string& folder);

}  // namespace wordhost
