#include "tests/support/Word97Copy.h"

#include <fstream>
#include <iterator>

#include "tests/support/ScratchHome.h"

namespace testsupport {

std::string twoPagesWord97() {
    return (sourceDir() + QStringLiteral("/tests/data/engine/two-pages-word97.doc")).toStdString();
}

std::string word97CopyWithChanges(const std::string& path,
                                  const std::vector<std::pair<std::string, std::string>>& changes) {
    std::ifstream in(twoPagesWord97(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const auto& [from, to] : changes) {
        for (std::size_t at = bytes.find(from); at != std::string::npos;
             at = bytes.find(from, at + to.size()))
            bytes.replace(at, from.size(), to);
    }
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string utf16(const std::string& ascii) {
    std::string wide;
    for (char c : ascii) wide += std::string{c, '\0'};
    return wide;
}

}  // namespace testsupport
