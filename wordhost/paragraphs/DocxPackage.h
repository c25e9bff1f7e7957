#pragma once

#include <map>
#include <optional>
#include <string>

struct zip;

namespace wordhost {

// A .docx package (an OPC zip archive) held in memory: its parts can be read, its relationships
// followed, and a copy written with some parts replaced and every other part copied unchanged.
class DocxPackage {
  public:
    // Reads the whole file; throws std::runtime_error when it cannot be read or is no zip archive.
    explicit DocxPackage(const std::string& path);
    ~DocxPackage();
    DocxPackage(const DocxPackage&) = delete;
    DocxPackage& operator=(const DocxPackage&) = delete;

    bool has(const std::string& partName) const;
    // The part's bytes; throws std::runtime_error when it is missing, damaged or implausibly large.
    std::string read(const std::string& partName) const;

    // The main document part the package's relationships name ("word/document.xml" normally).
    // Throws std::runtime_error when the package has none.
    std::string mainDocumentPart() const;
    // The part that `sourcePart` relates to with a relationship type ending in "/<typeName>".
    std::optional<std::string> relatedPart(const std::string& sourcePart, const std::string& typeName) const;

    // Writes the package to `path` with the given parts replaced; the file appears whole or not at all.
    // Throws std::runtime_error on failure.
    void saveAs(const std::string& path, const std::map<std::string, std::string>& replacedParts) const;

  private:
    std::optional<long long> locate(const std::string& partName) const;

    std::string path_;
    std::string bytes_;  // the archive as read; the zip below reads from it
    struct zip* archive_ = nullptr;
};

}  // namespace wordhost
