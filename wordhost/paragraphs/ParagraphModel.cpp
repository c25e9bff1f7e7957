#include "wordhost/paragraphs/ParagraphModel.h"

#include <cmath>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "wordhost/paragraphs/DocxPackage.h"
#include "wordhost/paragraphs/IndentResolver.h"
#include "wordhost/paragraphs/WordXml.h"

namespace wordhost {

namespace {
constexpr double kTwipsPerPoint = 20;
constexpr double kMaxIndentPoints = 1584;  // Word's limit: 22 inches either way

// w:pPr children that come after w:ind in the schema; a new w:ind goes before the first of them.
constexpr std::string_view kAfterInd[] = {
    "contextualSpacing", "mirrorIndents", "suppressOverlap", "jc",       "textDirection", "textAlignment",
    "textboxTightWrap",  "outlineLvl",    "divId",           "cnfStyle", "rPr",           "sectPr",
    "pPrChange"};

// Every w:p of the main text in document order: body and table cells at any depth, but nothing in
// text boxes, and of alternative content only the first choice. The walk keeps its own stack, as
// documents can nest deeper than the call stack allows.
std::vector<pugi::xml_node> mainTextParagraphs(const pugi::xml_document& document,
                                               const wordml::Names& names) {
    std::vector<pugi::xml_node> paragraphs;
    const pugi::xml_node body = names.child(document.document_element(), "body");
    std::vector<pugi::xml_node> pending;
    auto pushChildren = [&pending](const pugi::xml_node& node) {
        for (pugi::xml_node child = node.last_child(); child; child = child.previous_sibling()) {
            if (child.type() == pugi::node_element) pending.push_back(child);
        }
    };
    pushChildren(body);
    while (!pending.empty()) {
        const pugi::xml_node node = pending.back();
        pending.pop_back();
        if (names.is(node, "p")) {
            paragraphs.push_back(node);  // text boxes inside it hold no main text
        } else if (names.isMarkupCompatibility(node, "AlternateContent")) {
            for (pugi::xml_node option = node.first_child(); option; option = option.next_sibling()) {
                if (names.isMarkupCompatibility(option, "Choice") ||
                    names.isMarkupCompatibility(option, "Fallback")) {
                    pushChildren(option);
                    break;
                }
            }
        } else if (!names.is(node, "txbxContent")) {
            pushChildren(node);
        }
    }
    return paragraphs;
}

std::unique_ptr<pugi::xml_document> optionalPart(const DocxPackage& package, const std::string& documentPart,
                                                 const std::string& type, const std::string& usualName) {
    std::optional<std::string> part = package.relatedPart(documentPart, type);
    if (!part || !package.has(*part)) part = package.has(usualName) ? std::optional(usualName) : std::nullopt;
    if (!part) return nullptr;
    return wordml::parsePart(package.read(*part), *part);
}

pugi::xml_node childOrNew(const wordml::Names& names, pugi::xml_node parent, std::string_view local,
                          bool first) {
    pugi::xml_node node = names.child(parent, local);
    if (node) return node;
    const std::string name = names.qualified(local);
    return first ? parent.prepend_child(name.c_str()) : parent.append_child(name.c_str());
}

pugi::xml_node indentElement(const wordml::Names& names, pugi::xml_node paragraph) {
    pugi::xml_node properties = childOrNew(names, paragraph, "pPr", true);
    if (pugi::xml_node ind = names.child(properties, "ind")) return ind;
    for (pugi::xml_node child = properties.first_child(); child; child = child.next_sibling()) {
        for (std::string_view later : kAfterInd) {
            if (names.is(child, later))
                return properties.insert_child_before(names.qualified("ind").c_str(), child);
        }
    }
    return properties.append_child(names.qualified("ind").c_str());
}

void setAttribute(const wordml::Names& names, pugi::xml_node element, std::string_view local,
                  const std::string& value) {
    pugi::xml_attribute attribute = names.attribute(element, local);
    if (!attribute) attribute = element.append_attribute(names.qualified(local).c_str());
    attribute.set_value(value.c_str());
}
}  // namespace

struct ParagraphModel::Impl {
    std::unique_ptr<DocxPackage> package;
    std::string documentPart;
    std::unique_ptr<pugi::xml_document> document;
    std::optional<wordml::Names> names;
    std::vector<pugi::xml_node> paragraphs;
    std::vector<Indents> indents;
    bool modified = false;

    void read(const std::string& path);
    void setIndent(std::size_t paragraph, double points, bool left);
};

void ParagraphModel::Impl::read(const std::string& path) {
    package = std::make_unique<DocxPackage>(path);
    documentPart = package->mainDocumentPart();
    document = wordml::parsePart(package->read(documentPart), documentPart);
    const wordml::Names& documentNames = names.emplace(*document);
    if (!documentNames.is(document->document_element(), "document")) {
        throw std::runtime_error(path + " is not a Word document: " + documentPart +
                                 " holds no WordprocessingML document.");
    }
    const auto styles = optionalPart(*package, documentPart, "styles", "word/styles.xml");
    const auto numbering = optionalPart(*package, documentPart, "numbering", "word/numbering.xml");
    const IndentResolver resolver(styles.get(), numbering.get());

    paragraphs = mainTextParagraphs(*document, documentNames);
    indents.reserve(paragraphs.size());
    for (const pugi::xml_node& paragraph : paragraphs) {
        const TwipsIndents twips = resolver.resolve(documentNames.child(paragraph, "pPr"), documentNames);
        indents.push_back(
            {twips.left.value_or(0) / kTwipsPerPoint, twips.right.value_or(0) / kTwipsPerPoint});
    }
}

void ParagraphModel::Impl::setIndent(std::size_t paragraph, double points, bool left) {
    if (paragraph >= paragraphs.size()) {
        throw std::out_of_range("There is no paragraph " + std::to_string(paragraph + 1) +
                                " (the document has " + std::to_string(paragraphs.size()) + ").");
    }
    if (!std::isfinite(points) || std::fabs(points) > kMaxIndentPoints) {
        throw std::out_of_range("The indent is out of range: " + std::to_string(points) + " points.");
    }
    const long twips = std::lround(points * kTwipsPerPoint);
    const wordml::Names& n = *names;
    pugi::xml_node ind = indentElement(n, paragraphs[paragraph]);
    // Transitional documents say left/right, strict ones start/end; whichever else is there must agree.
    const std::string_view main = n.strict() ? (left ? "start" : "end") : (left ? "left" : "right");
    const std::string_view other = n.strict() ? (left ? "left" : "right") : (left ? "start" : "end");
    setAttribute(n, ind, main, std::to_string(twips));
    if (n.attribute(ind, other)) setAttribute(n, ind, other, std::to_string(twips));
    // An indent in character units would override the one in twips.
    ind.remove_attribute(n.attribute(ind, left ? "leftChars" : "rightChars"));
    ind.remove_attribute(n.attribute(ind, left ? "startChars" : "endChars"));
    (left ? indents[paragraph].left : indents[paragraph].right) = static_cast<double>(twips) / kTwipsPerPoint;
    modified = true;
}

ParagraphModel::ParagraphModel(const std::string& docxPath) : impl_(nullptr) {
    auto impl = std::make_unique<Impl>();
    impl->read(docxPath);
    impl_ = impl.release();
}

ParagraphModel::~ParagraphModel() { delete impl_; }
ParagraphModel::ParagraphModel(ParagraphModel&& other) noexcept : impl_(other.impl_) {
    other.impl_ = nullptr;
}
ParagraphModel& ParagraphModel::operator=(ParagraphModel&& other) noexcept {
    std::swap(impl_, other.impl_);
    return *this;
}

const std::vector<Indents>& ParagraphModel::indents() const { return impl_->indents; }
void ParagraphModel::setLeftIndent(std::size_t paragraph, double points) {
    impl_->setIndent(paragraph, points, true);
}
void ParagraphModel::setRightIndent(std::size_t paragraph, double points) {
    impl_->setIndent(paragraph, points, false);
}
bool ParagraphModel::modified() const { return impl_->modified; }

void ParagraphModel::saveAs(const std::string& docxPath) const {
    std::map<std::string, std::string> replaced;
    if (impl_->modified) replaced.emplace(impl_->documentPart, wordml::serializePart(*impl_->document));
    impl_->package->saveAs(docxPath, replaced);
}

}  // namespace wordhost
