#include "OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>

#include "ConvertError.h"
#include "shared/WriteAll.h"

namespace nconvert {

namespace {

// Big enough that writing costs few calls, small enough that its pages are cheap to touch.
constexpr std::size_t kBufferSize = 32 * 1024;

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

void removeTemporaryOnSignals() {
    // A full disk or file-size limit becomes a write error instead of ending the program.
    ::signal(SIGXFSZ, SIG_IGN);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) ::signal(signal, removeTemporaryAndDie);
}

OutputFile::OutputFile(const std::string& path)
    : path_(path),
      temporary_(path + ".XXXXXX"),
      buffer_(new std::uint8_t[kBufferSize]) {  // left uninitialised: its pages are touched as it fills
    fd_ = ::mkstemp(temporary_.data());
    if (fd_ < 0) throw ConvertError("cannot write output file " + path_ + ": " + std::strerror(errno));
    temporaryExists_ = true;
    setPendingTemporary(temporary_);
    // mkstemp makes the file private; give it the mode a newly created file would have.
    if (::fchmod(fd_, 0666 & ~currentUmask()) != 0) fail(errno);
}

OutputFile::~OutputFile() { discard(); }

void OutputFile::write(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        if (used_ == kBufferSize) flush();
        const std::size_t part = std::min(size, kBufferSize - used_);
        std::memcpy(buffer_.get() + used_, data, part);
        used_ += part;
        data += part;
        size -= part;
    }
}

void OutputFile::flush() {
    if (used_ > 0 && !shared::writeAll(fd_, buffer_.get(), used_)) fail(errno);
    used_ = 0;
}

void OutputFile::commit() {
    flush();
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0 || ::rename(temporary_.c_str(), path_.c_str()) != 0) fail(errno);
    temporaryExists_ = false;
    pendingTemporary[0] = '\0';
}

void OutputFile::fail(int error) {
    discard();
    throw ConvertError("cannot write output file " + path_ + ": " + std::strerror(error));
}

void OutputFile::discard() {
    if (fd_ >= 0) ::close(std::exchange(fd_, -1));
    if (!temporaryExists_) return;
    ::unlink(temporary_.c_str());
    temporaryExists_ = false;
    pendingTemporary[0] = '\0';
}

}  // namespace nconvert
