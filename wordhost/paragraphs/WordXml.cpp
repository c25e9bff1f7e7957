#include "wordhost/paragraphs/WordXml.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace wordhost::wordml {

namespace {
constexpr const char* kTransitional = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr const char* kStrict = "http://purl.oclc.org/ooxml/wordprocessingml/main";
constexpr const char* kMarkupCompatibility = "http://schemas.openxmlformats.org/markup-compatibility/2006";

// No conversion of whitespace in attributes or of line ends: the part is written back as it came.
constexpr unsigned kParseOptions =
    (pugi::parse_full | pugi::parse_ws_pcdata) & ~pugi::parse_wconv_attribute & ~pugi::parse_eol;

bool hasName(const char* name, const std::string& prefix, std::string_view local) {
    if (!prefix.empty()) {
        if (std::strncmp(name, prefix.data(), prefix.size()) != 0 || name[prefix.size()] != ':') return false;
        name += prefix.size() + 1;
    }
    return local == name;
}

struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
};
}  // namespace

std::unique_ptr<pugi::xml_document> parsePart(const std::string& data, const std::string& partName) {
    auto document = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result result = document->load_buffer(data.data(), data.size(), kParseOptions);
    if (!result) {
        throw std::runtime_error(partName + " is not well-formed XML: " + result.description() + " at byte " +
                                 std::to_string(result.offset) + ".");
    }
    if (!document->document_element()) throw std::runtime_error(partName + " holds no XML element.");
    return document;
}

std::string serializePart(pugi::xml_document& document) {
    // The text is written as UTF-8 whatever the part was read in, so the declaration must say so.
    for (pugi::xml_node node : document.children()) {
        if (node.type() == pugi::node_declaration && node.attribute("encoding")) {
            node.attribute("encoding").set_value("UTF-8");
        }
    }
    StringWriter writer;
    document.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return std::move(writer.text);
}

std::optional<double> parseTwips(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '+')) text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
    const std::string_view unit(end, static_cast<std::size_t>(text.data() + text.size() - end));
    if (unit.empty()) return value;
    if (unit == "pt") return value * 20;
    if (unit == "in") return value * 1440;
    if (unit == "cm") return value * 1440 / 2.54;
    if (unit == "mm") return value * 144 / 2.54;
    if (unit == "pc" || unit == "pi") return value * 240;
    return std::nullopt;
}

Names::Names(const pugi::xml_document& part) : prefix_("w"), mcPrefix_("mc") {
    for (const pugi::xml_attribute declaration : part.document_element().attributes()) {
        const std::string_view name = declaration.name();
        if (name != "xmlns" && name.rfind("xmlns:", 0) != 0) continue;
        const std::string prefix(name == "xmlns" ? std::string_view() : name.substr(6));
        const std::string_view uri = declaration.value();
        if (uri == kTransitional || uri == kStrict) {
            prefix_ = prefix;
            strict_ = uri == kStrict;
        } else if (uri == kMarkupCompatibility) {
            mcPrefix_ = prefix;
        }
    }
}

bool Names::is(const pugi::xml_node& node, std::string_view local) const {
    return node.type() == pugi::node_element && hasName(node.name(), prefix_, local);
}

bool Names::isMarkupCompatibility(const pugi::xml_node& node, std::string_view local) const {
    return node.type() == pugi::node_element && hasName(node.name(), mcPrefix_, local);
}

pugi::xml_node Names::child(const pugi::xml_node& node, std::string_view local) const {
    for (pugi::xml_node candidate = node.first_child(); candidate; candidate = candidate.next_sibling()) {
        if (is(candidate, local)) return candidate;
    }
    return pugi::xml_node();
}

pugi::xml_attribute Names::attribute(const pugi::xml_node& node, std::string_view local) const {
    for (pugi::xml_attribute candidate = node.first_attribute(); candidate;
         candidate = candidate.next_attribute()) {
        // Attributes are qualified; an unqualified one is accepted from lenient writers.
        if (hasName(candidate.name(), prefix_, local) || local == candidate.name()) return candidate;
    }
    return pugi::xml_attribute();
}

std::string Names::qualified(std::string_view local) const {
    return prefix_.empty() ? std::string(local) : prefix_ + ":" + std::string(local);
}

std::optional<std::string> Names::childValue(const pugi::xml_node& node, std::string_view local) const {
    const pugi::xml_node element = child(node, local);
    if (!element) return std::nullopt;
    const pugi::xml_attribute value = attribute(element, "val");
    if (!value) return std::nullopt;
    return std::string(value.value());
}

std::optional<double> Names::twips(const pugi::xml_node& node, std::string_view local) const {
    const pugi::xml_attribute value = attribute(node, local);
    if (!value) return std::nullopt;
    return parseTwips(value.value());
}

}  // namespace wordhost::wordml
