#include "wordhost/paragraphs/IndentResolver.h"

#include <set>
#include <string_view>

namespace wordhost {

namespace {
constexpr int kMaxChain = 64;  // style and numbering links are followed this far at most (loops)

bool isOn(std::string_view value) { return value == "1" || value == "true" || value == "on"; }

std::string attributeText(const wordml::Names& names, const pugi::xml_node& node, std::string_view local) {
    return names.attribute(node, local).value();
}
}  // namespace

IndentResolver::IndentResolver(const pugi::xml_document* styles, const pugi::xml_document* numbering) {
    if (styles != nullptr) {
        const wordml::Names& names = styleNames_.emplace(*styles);
        const pugi::xml_node root = styles->document_element();
        for (const pugi::xml_node style : root.children()) {
            if (!names.is(style, "style")) continue;
            const std::string id = attributeText(names, style, "styleId");
            styles_.emplace(id, style);
            const std::string type = attributeText(names, style, "type");
            if ((type.empty() || type == "paragraph") && isOn(attributeText(names, style, "default")) &&
                defaultParagraphStyle_.empty()) {
                defaultParagraphStyle_ = id;
            }
        }
        defaultProperties_ = names.child(names.child(names.child(root, "docDefaults"), "pPrDefault"), "pPr");
    }
    if (numbering != nullptr) {
        const wordml::Names& names = numberingNames_.emplace(*numbering);
        for (const pugi::xml_node child : numbering->document_element().children()) {
            if (names.is(child, "num")) numbers_.emplace(attributeText(names, child, "numId"), child);
            if (names.is(child, "abstractNum")) {
                abstractNumbers_.emplace(attributeText(names, child, "abstractNumId"), child);
            }
        }
    }
}

void IndentResolver::fill(TwipsIndents& indents, const pugi::xml_node& properties,
                          const wordml::Names& names) const {
    const pugi::xml_node ind = names.child(properties, "ind");
    if (!ind) return;
    if (!indents.left)
        indents.left = names.twips(ind, "start") ? names.twips(ind, "start") : names.twips(ind, "left");
    if (!indents.right)
        indents.right = names.twips(ind, "end") ? names.twips(ind, "end") : names.twips(ind, "right");
}

std::vector<pugi::xml_node> IndentResolver::styleChain(const std::optional<std::string>& styleId) const {
    std::vector<pugi::xml_node> chain;
    if (!styleNames_) return chain;
    const wordml::Names& names = *styleNames_;
    // A paragraph naming no style, or a style that is not a paragraph style, has the default style.
    std::string id = defaultParagraphStyle_;
    if (styleId) {
        const auto named = styles_.find(*styleId);
        if (named != styles_.end()) {
            const std::string type = attributeText(names, named->second, "type");
            if (type.empty() || type == "paragraph") id = *styleId;
        }
    }
    std::set<std::string> seen;
    while (!id.empty() && seen.insert(id).second && chain.size() < kMaxChain) {
        const auto style = styles_.find(id);
        if (style == styles_.end()) break;
        chain.push_back(style->second);
        id = names.childValue(style->second, "basedOn").value_or(std::string());
    }
    return chain;
}

IndentResolver::Numbering IndentResolver::numberingOf(const pugi::xml_node& properties,
                                                      const wordml::Names& names,
                                                      const std::vector<pugi::xml_node>& chain) const {
    Numbering numbering;
    const pugi::xml_node direct = names.child(properties, "numPr");
    numbering.numId = names.childValue(direct, "numId");
    numbering.level = names.childValue(direct, "ilvl");
    if (!styleNames_) return numbering;
    const wordml::Names& styleNames = *styleNames_;
    for (const pugi::xml_node style : chain) {
        if (numbering.numId && numbering.level) break;
        const pugi::xml_node numPr = styleNames.child(styleNames.child(style, "pPr"), "numPr");
        if (!numPr) continue;
        if (!numbering.numId) {
            numbering.numId = styleNames.childValue(numPr, "numId");
            if (numbering.numId) numbering.viaStyle = attributeText(styleNames, style, "styleId");
        }
        if (!numbering.level) numbering.level = styleNames.childValue(numPr, "ilvl");
    }
    return numbering;
}

pugi::xml_node IndentResolver::abstractNumberingOf(const std::string& numId) const {
    const wordml::Names& names = *numberingNames_;
    std::string id = numId;
    pugi::xml_node abstract;
    // An abstract numbering may only point at a numbering style, whose own numbering holds the levels.
    for (int hop = 0; hop < kMaxChain; ++hop) {
        const auto num = numbers_.find(id);
        if (num == numbers_.end()) return abstract;
        const auto found = abstractNumbers_.find(names.childValue(num->second, "abstractNumId").value_or(""));
        if (found == abstractNumbers_.end()) return abstract;
        abstract = found->second;
        const std::optional<std::string> link = names.childValue(abstract, "numStyleLink");
        if (!link || !styleNames_) return abstract;
        const auto style = styles_.find(*link);
        if (style == styles_.end()) return abstract;
        const wordml::Names& styleNames = *styleNames_;
        const std::optional<std::string> linkedId =
            styleNames.childValue(styleNames.child(styleNames.child(style->second, "pPr"), "numPr"), "numId");
        if (!linkedId) return abstract;
        id = *linkedId;
    }
    return abstract;
}

pugi::xml_node IndentResolver::levelOf(const Numbering& numbering) const {
    if (!numberingNames_ || !numbering.numId || *numbering.numId == "0") return pugi::xml_node();
    const wordml::Names& names = *numberingNames_;
    const pugi::xml_node abstract = abstractNumberingOf(*numbering.numId);

    std::string level = numbering.level.value_or("0");
    if (!numbering.level && numbering.viaStyle) {
        // A style tied to a list names no level: the level is the one that names the style.
        for (const pugi::xml_node lvl : abstract.children()) {
            if (names.is(lvl, "lvl") && names.childValue(lvl, "pStyle") == numbering.viaStyle) {
                level = attributeText(names, lvl, "ilvl");
            }
        }
    }
    const auto num = numbers_.find(*numbering.numId);
    if (num != numbers_.end()) {
        for (const pugi::xml_node lvlOverride : num->second.children()) {
            if (names.is(lvlOverride, "lvlOverride") && attributeText(names, lvlOverride, "ilvl") == level &&
                names.child(lvlOverride, "lvl")) {
                return names.child(lvlOverride, "lvl");
            }
        }
    }
    for (const pugi::xml_node lvl : abstract.children()) {
        if (names.is(lvl, "lvl") && attributeText(names, lvl, "ilvl") == level) return lvl;
    }
    return pugi::xml_node();
}

TwipsIndents IndentResolver::resolve(const pugi::xml_node& properties, const wordml::Names& names) const {
    TwipsIndents indents;
    fill(indents, properties, names);
    if (indents.complete()) return indents;

    const std::vector<pugi::xml_node> chain = styleChain(names.childValue(properties, "pStyle"));
    if (numberingNames_) {
        const pugi::xml_node level = levelOf(numberingOf(properties, names, chain));
        fill(indents, numberingNames_->child(level, "pPr"), *numberingNames_);
    }
    if (styleNames_) {
        for (const pugi::xml_node style : chain) {
            if (indents.complete()) break;
            fill(indents, styleNames_->child(style, "pPr"), *styleNames_);
        }
        fill(indents, defaultProperties_, *styleNames_);
    }
    return indents;
}

}  // namespace wordhost
