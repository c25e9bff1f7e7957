#pragma once

#include <map>
#include <string>
#include <vector>

// Small .docx packages written by the tests themselves.
namespace testdocx {

using Parts = std::map<std::string, std::string>;

// The main part's content type of a document, of a template and of a template with macros.
inline const std::string kDocumentMain =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
inline const std::string kTemplateMain =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml";
inline const std::string kMacroTemplateMain =
    "application/vnd.ms-word.template.macroEnabledTemplate.main+xml";

// Writes the parts as a zip package, adding [Content_Types].xml (the main part of `mainType`),
// _rels/.rels and the document's relationships to styles.xml, numbering.xml, endnotes.xml and
// comments.xml when the parts do not bring their own.
void writeDocx(const std::string& path, Parts parts, const std::string& mainType = kDocumentMain);

// Every entry of a zip package, by name.
Parts readParts(const std::string& path);

// A word/document.xml whose body holds `body`; strict uses the strict OOXML namespace.
std::string documentXml(const std::string& body, bool strict = false);

// A paragraph with the given w:pPr content and some text.
std::string paragraph(const std::string& properties, const std::string& text = "Text");

// A word/styles.xml with the given content (w:docDefaults, w:style elements).
std::string stylesXml(const std::string& content);

// A word/numbering.xml with the given content (w:abstractNum, w:num elements).
std::string numberingXml(const std::string& content);

// One paragraph of a made-up document.
struct Paragraph {
    std::string text;
    int leftTwips = 0;   // w:ind w:left, negative allowed
    int rightTwips = 0;  // w:ind w:right
    bool pageBreakBefore = false;
};

// Writes a minimal package (Letter paper, 1 inch margins) with these paragraphs.
void writeDocx(const std::string& path, const std::vector<Paragraph>& paragraphs);

// `pages` pages, each starting with a page break and holding `linesPerPage` short paragraphs.
std::vector<Paragraph> pagedText(int pages, int linesPerPage);

}  // namespace testdocx
