#pragma once

#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace wordhost::wordml {

// Parses one XML part, keeping everything that must survive a rewrite (declaration, whitespace-only
// text such as a run of one blank, line breaks in attribute values). Throws std::runtime_error naming
// the part and the position of the first error.
std::unique_ptr<pugi::xml_document> parsePart(const std::string& data, const std::string& partName);

// Serializes a parsed part back to UTF-8 text.
std::string serializePart(pugi::xml_document& document);

// A twips measure ("-720", or a universal measure such as "1.5cm", "36pt", "0.5in"), in twips.
std::optional<double> parseTwips(std::string_view text);

// WordprocessingML names with the prefix a part binds to the namespace (pugixml knows no
// namespaces). Both transitional and strict OOXML are recognised.
class Names {
  public:
    explicit Names(const pugi::xml_document& part);

    bool strict() const { return strict_; }
    bool is(const pugi::xml_node& node, std::string_view local) const;  // a WordprocessingML element
    bool isMarkupCompatibility(const pugi::xml_node& node, std::string_view local) const;
    pugi::xml_node child(const pugi::xml_node& node, std::string_view local) const;
    pugi::xml_attribute attribute(const pugi::xml_node& node, std::string_view local) const;
    std::string qualified(std::string_view local) const;  // "w:ind"

    // Shorthands: the w:val of a child element, and a twips attribute.
    std::optional<std::string> childValue(const pugi::xml_node& node, std::string_view local) const;
    std::optional<double> twips(const pugi::xml_node& node, std::string_view local) const;

  private:
    std::string prefix_;    // "w", or "" for the default namespace
    std::string mcPrefix_;  // markup compatibility, normally "mc"
    bool strict_ = false;
};

}  // namespace wordhost::wordml
