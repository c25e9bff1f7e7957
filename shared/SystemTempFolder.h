#pragma once

#include <sys/stat.h>

#include <cstdlib>
#include <string>

namespace shared {

// The system temporary folder, under which every process makes its private folders: $TMPDIR when
// it names a folder, else /tmp.
inline std::string systemTempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    struct stat info {};
    if (tmp != nullptr && tmp[0] == '/' && ::stat(tmp, &info) == 0 && S_ISDIR(info.st_mode)) return tmp;
    return "/tmp";
}

}  // namespace shared
