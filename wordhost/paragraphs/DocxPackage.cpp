#include "wordhost/paragraphs/DocxPackage.h"

#include <zip.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <pugixml.hpp>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace wordhost {

namespace {
// No real document part comes near this; a larger one is a zip bomb or not a document.
constexpr zip_uint64_t kMaxPartSize = 256ull << 20;

std::string zipErrorText(zip_error_t* error) {
    const std::string text = zip_error_strerror(error);
    zip_error_fini(error);
    return text;
}

std::string folderOf(const std::string& partName) {
    const std::size_t slash = partName.rfind('/');
    return slash == std::string::npos ? std::string() : partName.substr(0, slash + 1);
}

// "word/_rels/document.xml.rels" for "word/document.xml", "_rels/.rels" for the package ("").
std::string relationshipsPartOf(const std::string& sourcePart) {
    const std::size_t slash = sourcePart.rfind('/');
    const std::string name = slash == std::string::npos ? sourcePart : sourcePart.substr(slash + 1);
    return folderOf(sourcePart) + "_rels/" + name + ".rels";
}

// Resolves a relationship target against the source's folder: "%20" escapes, "..", "." and a leading "/".
std::string resolveTarget(const std::string& sourcePart, std::string target) {
    std::string decoded;
    for (std::size_t i = 0; i < target.size(); ++i) {
        if (target[i] == '%' && i + 2 < target.size() &&
            std::isxdigit(static_cast<unsigned char>(target[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(target[i + 2]))) {
            decoded += static_cast<char>(std::stoi(target.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            decoded += target[i];
        }
    }
    const std::string joined =
        decoded.rfind('/', 0) == 0 ? decoded.substr(1) : folderOf(sourcePart) + decoded;
    std::vector<std::string> segments;
    std::stringstream stream(joined);
    for (std::string segment; std::getline(stream, segment, '/');) {
        if (segment.empty() || segment == ".") continue;
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
        } else {
            segments.push_back(segment);
        }
    }
    std::string resolved;
    for (const std::string& segment : segments) resolved += (resolved.empty() ? "" : "/") + segment;
    return resolved;
}

std::string endingOf(const std::string& type) {
    const std::size_t slash = type.rfind('/');
    return slash == std::string::npos ? type : type.substr(slash + 1);
}
}  // namespace

DocxPackage::DocxPackage(const std::string& path) : path_(path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("Cannot read " + path + ": " + std::strerror(errno) + ".");
    std::ostringstream contents;
    contents << file.rdbuf();
    if (file.bad()) throw std::runtime_error("Cannot read " + path + ".");
    bytes_ = std::move(contents).str();

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes_.data(), bytes_.size(), 0, &error);
    if (source != nullptr) archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (archive_ == nullptr) {
        if (source != nullptr) zip_source_free(source);
        const std::string reason = zipErrorText(&error);
        throw std::runtime_error(path + " is not a Word document package (not a zip archive: " + reason +
                                 ").");
    }
    zip_error_fini(&error);
}

DocxPackage::~DocxPackage() {
    if (archive_ != nullptr) zip_discard(archive_);
}

std::optional<long long> DocxPackage::locate(const std::string& partName) const {
    // Part names are case-insensitive.
    const zip_int64_t index = zip_name_locate(archive_, partName.c_str(), ZIP_FL_NOCASE);
    if (index < 0) return std::nullopt;
    return index;
}

bool DocxPackage::has(const std::string& partName) const { return locate(partName).has_value(); }

std::string DocxPackage::read(const std::string& partName) const {
    const std::optional<long long> index = locate(partName);
    if (!index) throw std::runtime_error(path_ + " has no part " + partName + ".");
    zip_stat_t stat;
    if (zip_stat_index(archive_, *index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0) {
        throw std::runtime_error(path_ + ": the part " + partName + " is damaged.");
    }
    if (stat.size > kMaxPartSize)
        throw std::runtime_error(path_ + ": the part " + partName + " is too large.");
    zip_file_t* file = zip_fopen_index(archive_, *index, 0);
    if (file == nullptr) {
        throw std::runtime_error(path_ + ": the part " + partName + " cannot be read (" +
                                 zip_strerror(archive_) + ").");
    }
    std::string data(stat.size, '\0');
    const zip_int64_t got = zip_fread(file, data.data(), data.size());
    const std::string reason = got < 0 ? zip_file_strerror(file) : "truncated";
    zip_fclose(file);
    if (got != static_cast<zip_int64_t>(data.size())) {
        throw std::runtime_error(path_ + ": the part " + partName + " is damaged (" + reason + ").");
    }
    return data;
}

std::optional<std::string> DocxPackage::relatedPart(const std::string& sourcePart,
                                                    const std::string& typeName) const {
    const std::string relationshipsPart = relationshipsPartOf(sourcePart);
    if (!has(relationshipsPart)) return std::nullopt;
    const std::string data = read(relationshipsPart);
    pugi::xml_document relationships;
    if (!relationships.load_buffer(data.data(), data.size())) return std::nullopt;
    for (const pugi::xml_node relationship : relationships.document_element().children()) {
        const std::string_view name = relationship.name();
        if (name != "Relationship" && !name.ends_with(":Relationship")) continue;
        if (std::string_view(relationship.attribute("TargetMode").value()) == "External") continue;
        if (endingOf(relationship.attribute("Type").value()) != typeName) continue;
        return resolveTarget(sourcePart, relationship.attribute("Target").value());
    }
    return std::nullopt;
}

std::string DocxPackage::mainDocumentPart() const {
    std::optional<std::string> part = relatedPart("", "officeDocument");
    if (part && has(*part)) return *part;
    if (has("word/document.xml")) return "word/document.xml";
    throw std::runtime_error(path_ + " is not a Word document: it has no document part (word/document.xml).");
}

void DocxPackage::saveAs(const std::string& path,
                         const std::map<std::string, std::string>& replacedParts) const {
    int code = 0;
    zip_t* out = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (out == nullptr) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        throw std::runtime_error("Cannot write " + path + ": " + zipErrorText(&error) + ".");
    }
    auto fail = [&](const std::string& what) {
        const std::string reason = zip_strerror(out);
        zip_discard(out);  // writes nothing: the target keeps what it had
        throw std::runtime_error("Cannot write " + path + " (" + what + "): " + reason + ".");
    };
    std::map<zip_int64_t, const std::string*> replacements;
    for (const auto& [part, text] : replacedParts) {
        const std::optional<long long> index = locate(part);
        if (!index) fail("no part " + part);
        replacements[*index] = &text;
    }
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    for (zip_int64_t index = 0; index < count; ++index) {
        const char* name = zip_get_name(archive_, index, ZIP_FL_ENC_RAW);
        if (name == nullptr) fail("entry " + std::to_string(index));
        const auto replacement = replacements.find(index);
        zip_source_t* source =
            replacement != replacements.end()
                ? zip_source_buffer(out, replacement->second->data(), replacement->second->size(), 0)
                // Start 0 and length -1: the compressed bytes are copied as they are.
                : zip_source_zip(out, archive_, index, 0, 0, -1);
        if (source == nullptr) fail(name);
        const zip_int64_t added = zip_file_add(out, name, source, ZIP_FL_ENC_RAW);
        if (added < 0) {
            zip_source_free(source);
            fail(name);
        }
    }
    if (zip_close(out) != 0) fail("closing");
}

}  // namespace wordhost
