#pragma once

#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace shared {

// Page pictures are megabytes each. By default glibc hands blocks that large straight back to the
// system and maps them afresh for the next page, and every page of a fresh mapping costs a fault,
// which is dear on virtual machines. Keeping them in the heap lets one page's memory serve the next.
inline void reuseLargeBuffers() {
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);  // the largest glibc accepts on 64-bit
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
}

// What the heap still has to take fresh (the engine's layout, a page's buffers while the heap
// grows) costs a fault for every 4 KB: on a virtual machine about 13 us each, so a fresh 8 MB
// costs 28 ms, against 0.5 ms in 2 MB pages. glibc asks for 2 MB pages for its heap when told so
// at start: this sets that (unless the environment already says) and starts the program again,
// which keeps its process, arguments and open files. The programs it starts get the environment
// as it was: the converter, with a heap of a few hundred KB, runs slower in 2 MB pages. Where the
// program cannot be started again, it goes on as it is.
inline constexpr const char* kHugePagesTunable = "glibc.malloc.hugetlb=1";
inline constexpr const char* kTunablesBeforeRestart = "MARROWDALE_TUNABLES_BEFORE_RESTART";  // "" for none

inline void putBackTunables(const char* before) {
    if (*before == '\0') {
        ::unsetenv("GLIBC_TUNABLES");
    } else {
        ::setenv("GLIBC_TUNABLES", before, 1);
    }
    ::unsetenv(kTunablesBeforeRestart);
}

inline void restartWithHugePageHeap(char** argv) {
    if (const char* before = std::getenv(kTunablesBeforeRestart)) {
        putBackTunables(std::string(before).c_str());  // started again: the heap is set
        return;
    }
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    if (tunables != nullptr && std::strstr(tunables, "glibc.malloc.hugetlb=") != nullptr) return;
    const std::string before = tunables == nullptr ? "" : tunables;
    const std::string value = before.empty() ? kHugePagesTunable : before + ":" + kHugePagesTunable;
    // By the program's own path, not /proc/self/exe: the process is named after the file it runs.
    char program[4096];
    const ssize_t length = ::readlink("/proc/self/exe", program, sizeof program - 1);
    if (length <= 0 || length >= static_cast<ssize_t>(sizeof program - 1)) return;
    program[length] = '\0';
    if (::setenv(kTunablesBeforeRestart, before.c_str(), 1) != 0 ||
        ::setenv("GLIBC_TUNABLES", value.c_str(), 1) != 0) {
        putBackTunables(before.c_str());
        return;
    }
    ::execv(program, argv);
    putBackTunables(before.c_str());
}

}  // namespace shared
