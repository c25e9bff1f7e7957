#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace wordhost {

// Left and right indent of one paragraph, in points, as Word reports them.
struct Indents {
    double left = 0;
    double right = 0;
};

// The paragraphs of a .docx package (WordprocessingML) with their effective indents: direct
// formatting, then numbering, then the paragraph style chain, then the document defaults.
// Writing an indent patches the model; saveAs() writes the patched package.
class ParagraphModel {
public:
    // Reads the package; throws std::runtime_error with a clear message when it is not a readable .docx.
    explicit ParagraphModel(const std::string& docxPath);
    ~ParagraphModel();
    ParagraphModel(ParagraphModel&&) noexcept;
    ParagraphModel& operator=(ParagraphModel&&) noexcept;

    // The paragraphs of the main text (body and table cells, not headers, footers or text boxes),
    // in document order.
    const std::vector<Indents>& indents() const;

    void setLeftIndent(std::size_t paragraph, double points);   // throws std::out_of_range
    void setRightIndent(std::size_t paragraph, double points);  // throws std::out_of_range
    bool modified() const;

    // Writes the package with every change made so far; throws std::runtime_error on failure.
    void saveAs(const std::string& docxPath) const;

private:
    struct Impl;
    Impl* impl_;
};

}  // namespace wordhost
