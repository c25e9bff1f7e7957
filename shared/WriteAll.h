#pragma once

// Header only and C++17: the static converter builds include it too.
#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace shared {

// Writes all `size` bytes, going on after interruptions and short writes. False with errno set
// when the descriptor takes no more (a write that takes nothing counts as EIO).
inline bool writeAll(int fd, const void* data, std::size_t size) {
    const char* next = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, next, size);
        if (written < 0 && errno == EINTR) continue;
        if (written == 0) errno = EIO;
        if (written <= 0) return false;
        next += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace shared
