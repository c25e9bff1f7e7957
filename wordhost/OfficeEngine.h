#pragma once

#include <memory>
#include <string>

#include "wordhost/Engine.h"
#include "wordhost/LayoutInParts.h"
#include "wordhost/LibreOfficeSession.h"
#include "wordhost/WordLayoutSettings.h"

namespace lok {
class Document;
}

namespace wordhost {

class DocumentModel;

// The engine as LibreOffice through LibreOfficeKit: documents loaded from private copies, their
// paragraphs through the engine's document model, their layout through its PDF export.
class OfficeEngine : public Engine {
  public:
    // Starts the office (see LibreOfficeSession). Throws EngineError (429).
    OfficeEngine(const std::string& programFolder, const std::string& profileFolder);

    std::unique_ptr<LoadedDocument> open(const std::string& workFolder, const std::string& path) override;
    void warmUp(const std::string& workFolder) override;

  private:
    LibreOfficeSession office_;
    std::unique_ptr<WordLayoutSettings> wordSettings_;  // for every document the office loads
};

// A document loaded by the office from its private copy.
class OfficeDocument : public LoadedDocument {
  public:
    // Copies the document into `workFolder`, checks that it is a Word document and loads the
    // copy. The document's own file and folder are only read. Throws EngineError.
    OfficeDocument(LibreOfficeSession& office, std::string workFolder, const std::string& path);
    ~OfficeDocument() override;

    int enginePageCount() override;
    const std::vector<protocol::ParagraphIndents>& indents() override;
    void setIndent(std::size_t paragraph, bool left, double points) override;
    std::unique_ptr<PageLayout> exportLayout() override;

  private:
    LibreOfficeSession& office_;
    std::string folder_;
    std::unique_ptr<lok::Document> engineDocument_;
    std::unique_ptr<DocumentModel> model_;
    std::unique_ptr<LayoutInParts> exporting_;  // the last export, perhaps still under way
    int exports_ = 0;
};

}  // namespace wordhost
