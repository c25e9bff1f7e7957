#pragma once

#include <memory>
#include <string>

namespace lok {
class Office;
class Document;
}  // namespace lok

namespace wordhost {

// The document engine: LibreOffice running in this process through LibreOfficeKit, with a
// profile of its own. Calls come from one thread at a time; a document's layout may be exported
// on a thread of its own while nothing else of the engine is used.
class LibreOfficeSession {
  public:
    // Starts the engine from `programFolder` (the office's program/ folder) with a new profile in
    // `profileFolder`. Throws EngineError (429) when the engine is missing or does not start.
    LibreOfficeSession(const std::string& programFolder, const std::string& profileFolder);
    ~LibreOfficeSession();

    // Loads a document, no dialogs. Throws EngineError naming `shownPath`.
    std::unique_ptr<lok::Document> load(const std::string& path, const std::string& shownPath);
    // Saves the document in `format` ("pdf", "docx"); a PDF with the JSON filter data given, or
    // else with the office's own PDF settings. Throws EngineError.
    void saveAs(lok::Document& document, const std::string& path, const char* format,
                const std::string& pdfFilterData = {});

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
