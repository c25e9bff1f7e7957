#pragma once

#include <memory>
#include <string>

namespace lok {
class Office;
class Document;
}  // namespace lok

namespace wordhost {

// The document engine: LibreOffice running in this process through LibreOfficeKit, with a
// profile of its own. All calls come from one thread.
class LibreOfficeSession {
  public:
    // Starts the engine from `programFolder` (the office's program/ folder) with a new profile in
    // `profileFolder`. Throws EngineError (429) when the engine is missing or does not start.
    LibreOfficeSession(const std::string& programFolder, const std::string& profileFolder);
    ~LibreOfficeSession();

    // Loads a document, no dialogs. Throws EngineError naming `shownPath`.
    std::unique_ptr<lok::Document> load(const std::string& path, const std::string& shownPath);
    // Saves the document in `format` ("pdf", "docx"). Throws EngineError.
    void saveAs(lok::Document& document, const std::string& path, const char* format);

    // MARROWDALE_LIBREOFFICE_PROGRAM when set, else Debian's /usr/lib/libreoffice/program.
    static std::string defaultProgramFolder();

  private:
    lok::Office* office_ = nullptr;
};

// The description of a document the engine found no way to read.
std::string unreadableDocumentDescription(const std::string& shownPath);

// A file:// URL for an absolute path, every byte outside the unreserved set percent-encoded.
std::string fileUrl(const std::string& path);

}  // namespace wordhost
