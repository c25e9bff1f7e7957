#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "protocol/Indents.h"

namespace wordhost {

// A document loaded in the engine, seen through the engine's own document model (UNO): its
// paragraphs, their indents as the layout uses them, and indent writes made in the loaded
// document itself. The engine runs in this process; all calls come from its one caller thread.
class DocumentModel {
  public:
    // The loaded document whose URL is `url`. Throws EngineError when the engine holds none.
    explicit DocumentModel(const std::string& url);
    ~DocumentModel();
    DocumentModel(const DocumentModel&) = delete;
    DocumentModel& operator=(const DocumentModel&) = delete;

    // A text document (not a spreadsheet, drawing, ...).
    bool isTextDocument() const;
    // The pages of the engine's own layout, as its PDF export has them (blank pages it inserts
    // for a section that starts on an odd or even page are left out). Throws EngineError.
    int pageCount();
    // The name of the import filter the engine chose ("MS Word 97", "Text", ...).
    std::string filterName() const;

    // The paragraphs of the main text, table cells included (as Word's Paragraphs collection),
    // in document order, with their effective indents: direct formatting, paragraph style chain,
    // list level, defaults.
    const std::vector<protocol::ParagraphIndents>& indents();
    // Sets an indent as direct formatting of the paragraph. The engine holds its layout back
    // from the first change to applyChanges(), so a batch of writes is laid out once. Throws
    // EngineError.
    void setIndent(std::size_t paragraph, bool left, double points);
    void applyChanges();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The engine's lengths (1/100 mm) in points and back, as Word rounds them (to 1/20 point).
double hundredthsOfMillimetreToPoints(long hundredths);
long pointsToHundredthsOfMillimetre(double points);

}  // namespace wordhost
