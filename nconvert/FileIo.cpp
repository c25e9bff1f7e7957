#include "FileIo.h"

#include "Image.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nconvert {

namespace {

std::string reason() { return std::strerror(errno); }

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written == 0) errno = EIO;
        if (written <= 0) return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// The temporary file being written, for removal when a signal ends the program.
char pendingTemporary[4096];

extern "C" void removeTemporaryAndDie(int signal) {
    if (pendingTemporary[0] != '\0') ::unlink(pendingTemporary);
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void setPendingTemporary(const std::string& path) {
    if (path.size() >= sizeof pendingTemporary) return;  // never a cut name: it could be another file
    std::memcpy(pendingTemporary, path.c_str(), path.size() + 1);
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

std::vector<std::uint8_t> readWholeFile(const std::string& path) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) throw ConvertError("cannot open input file " + path + ": " + reason());
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) throw ConvertError("cannot read input file " + path + ": " + reason());
    if (S_ISDIR(info.st_mode)) throw ConvertError("input " + path + " is a folder, not a file");

    // Read straight into a buffer of the file's size; grow only if the file grows meanwhile.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t got = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw ConvertError("cannot read input file " + path + ": " + reason());
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

void removeTemporaryOnSignals() {
    // A full disk or file-size limit becomes a write error instead of ending the program.
    ::signal(SIGXFSZ, SIG_IGN);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) ::signal(signal, removeTemporaryAndDie);
}

void replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::string temp = path + ".XXXXXX";
    Descriptor fd(::mkstemp(temp.data()));
    if (fd.get() < 0) throw ConvertError("cannot write output file " + path + ": " + reason());
    setPendingTemporary(temp);

    // mkstemp makes the file private; give it the mode a newly created file would have.
    int error = 0;
    if (::fchmod(fd.get(), 0666 & ~currentUmask()) != 0 || !writeAll(fd.get(), bytes.data(), bytes.size())) {
        error = errno;
    }
    if (::close(fd.release()) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) ::unlink(temp.c_str());
    pendingTemporary[0] = '\0';
    if (error == 0) return;

    throw ConvertError("cannot write output file " + path + ": " + std::strerror(error));
}

}  // namespace nconvert
