#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "wordhost/paragraphs/WordXml.h"

namespace wordhost {

// A paragraph's left and right indent in twips, where some formatting level sets them.
struct TwipsIndents {
    std::optional<double> left;
    std::optional<double> right;
    bool complete() const { return left && right; }
};

// Works out the indents Word reports for a paragraph: its direct formatting, then the numbering
// level it belongs to (directly or through its style), then its paragraph style and the styles
// that style is based on, then the document defaults. Each side is taken from the first level that
// sets it; a first-line or hanging indent does not move the left indent.
class IndentResolver {
  public:
    // Either part may be missing (nullptr): a document without styles or without numbering.
    IndentResolver(const pugi::xml_document* styles, const pugi::xml_document* numbering);

    // The effective indents, in twips, of a paragraph with these properties (w:pPr, may be null).
    TwipsIndents resolve(const pugi::xml_node& paragraphProperties, const wordml::Names& names) const;

  private:
    struct Numbering {
        std::optional<std::string> numId;
        std::optional<std::string> level;
        std::optional<std::string> viaStyle;  // the style that gave the numId, for w:lvl/w:pStyle
    };

    // The paragraph style and the styles it is based on, nearest first.
    std::vector<pugi::xml_node> styleChain(const std::optional<std::string>& styleId) const;
    Numbering numberingOf(const pugi::xml_node& paragraphProperties, const wordml::Names& names,
                          const std::vector<pugi::xml_node>& chain) const;
    pugi::xml_node levelOf(const Numbering& numbering) const;
    pugi::xml_node abstractNumberingOf(const std::string& numId) const;
    void fill(TwipsIndents& indents, const pugi::xml_node& propertiesOrNull,
              const wordml::Names& names) const;

    std::optional<wordml::Names> styleNames_;
    std::optional<wordml::Names> numberingNames_;
    std::map<std::string, pugi::xml_node> styles_;  // by w:styleId
    std::string defaultParagraphStyle_;
    pugi::xml_node defaultProperties_;                       // w:docDefaults/w:pPrDefault/w:pPr
    std::map<std::string, pugi::xml_node> numbers_;          // w:num by w:numId
    std::map<std::string, pugi::xml_node> abstractNumbers_;  // w:abstractNum by w:abstractNumId
};

}  // namespace wordhost
