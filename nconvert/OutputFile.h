#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace nconvert {

// Makes signals that end the program remove the temporary file of an OutputFile first, and turns
// an exceeded file-size limit into a write error.
void removeTemporaryOnSignals();

// The output file, written through a small buffer into a temporary file beside `path` and renamed
// over `path` by commit(), so a failed run leaves neither a partial file nor a damaged earlier one.
// Every failure throws ConvertError; destroying an uncommitted OutputFile removes the temporary.
class OutputFile {
  public:
    explicit OutputFile(const std::string& path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void write(const std::uint8_t* data, std::size_t size);

    // Writes what is buffered, closes the file and puts it in place.
    void commit();

  private:
    void flush();
    [[noreturn]] void fail(int error);  // removes the temporary and throws
    void discard();

    std::string path_;
    std::string temporary_;
    int fd_ = -1;
    bool temporaryExists_ = false;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t used_ = 0;
};

}  // namespace nconvert
