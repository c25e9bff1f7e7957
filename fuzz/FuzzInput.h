#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace fuzz {

// The fuzzer's input as a file, for parsers that read from a path: one memory file per process,
// rewritten for every input and named by its /proc/self/fd path (opening that path opens the
// file afresh, at its start).
inline const std::string& inputFile(const std::uint8_t* data, std::size_t size) {
    static const int fd = ::memfd_create("fuzz-input", MFD_CLOEXEC);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ::ftruncate(fd, 0) != 0) std::abort();
    for (std::size_t done = 0; done < size;) {
        const ssize_t written = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (written <= 0) std::abort();
        done += static_cast<std::size_t>(written);
    }
    return path;
}

// Where a target leaves a sum of the bytes it read, so that no read is optimised away.
inline volatile unsigned bytesRead = 0;

}  // namespace fuzz
