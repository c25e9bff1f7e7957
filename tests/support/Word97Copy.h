#pragma once

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// The committed two-page Word 97 document (tests/data/engine/two-pages-word97.doc).
std::string twoPagesWord97();

// A copy of it at `path` with its bytes changed wherever each `from` stands (UTF-16 stream names
// in the compound file's directory, or bytes of the FIB). Returns `path`.
std::string word97CopyWithChanges(const std::string& path,
                                  const std::vector<std::pair<std::string, std::string>>& changes);

// ASCII as the little-endian UTF-16 of a compound file's stream names.
std::string utf16(const std::string& ascii);

}  // namespace testsupport
