#pragma once

#include <optional>
#include <string>
#include <vector>

namespace wordhost {

// Read access to the streams at the top of an OLE2 compound file (.doc, encrypted .docx).
class OleStorage {
  public:
    // Nothing when the file is not a readable compound file.
    static std::optional<OleStorage> open(const std::string& path);
    ~OleStorage();
    OleStorage(OleStorage&& other) noexcept;
    OleStorage& operator=(OleStorage&&) = delete;
    OleStorage(const OleStorage&) = delete;

    // Stream names match without regard to case.
    bool hasStream(const char* name) const;
    // Up to `count` bytes from the start of the stream; empty when there is no such stream.
    std::vector<unsigned char> readStream(const char* name, std::size_t count) const;

  private:
    explicit OleStorage(void* infile) : infile_(infile) {}
    void* infile_;  // GsfInfile*
};

}  // namespace wordhost
