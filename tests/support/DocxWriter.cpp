#include "tests/support/DocxWriter.h"

#include <zip.h>

#include <stdexcept>

namespace testdocx {

namespace {
const std::string kW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
const std::string kRelationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const std::string kWordprocessingML = "application/vnd.openxmlformats-officedocument.wordprocessingml.";

// The package's content types: the main part's as given, the known parts' when they are there.
std::string contentTypes(const Parts& parts, const std::string& mainType) {
    std::string types =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
        R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
        R"(<Default Extension="xml" ContentType="application/xml"/>)"
        R"(<Override PartName="/word/document.xml" ContentType=")" +
        mainType + R"("/>)";
    for (const char* part : {"styles", "numbering", "endnotes", "comments"}) {
        if (parts.count("word/" + std::string(part) + ".xml")) {
            types += R"(<Override PartName="/word/)" + std::string(part) + R"(.xml" ContentType=")" +
                     kWordprocessingML + part + R"(+xml"/>)";
        }
    }
    return types + "</Types>";
}

std::string relationship(const std::string& id, const std::string& type, const std::string& target) {
    return R"(<Relationship Id=")" + id + R"(" Type=")" + kRelationships + "/" + type + R"(" Target=")" +
           target + R"("/>)";
}

std::string relationships(const std::string& content) {
    return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
           R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)" +
           content + "</Relationships>";
}
}  // namespace

void writeDocx(const std::string& path, Parts parts, const std::string& mainType) {
    parts.emplace("[Content_Types].xml", contentTypes(parts, mainType));
    parts.emplace("_rels/.rels", relationships(relationship("rId1", "officeDocument", "word/document.xml")));
    std::string documentRelationships;
    if (parts.count("word/styles.xml")) documentRelationships += relationship("rId1", "styles", "styles.xml");
    if (parts.count("word/numbering.xml"))
        documentRelationships += relationship("rId2", "numbering", "numbering.xml");
    if (parts.count("word/endnotes.xml"))
        documentRelationships += relationship("rId3", "endnotes", "endnotes.xml");
    if (parts.count("word/comments.xml"))
        documentRelationships += relationship("rId4", "comments", "comments.xml");
    parts.emplace("word/_rels/document.xml.rels", relationships(documentRelationships));

    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (archive == nullptr) throw std::runtime_error("cannot create " + path);
    // [Content_Types].xml first, as Word writes it.
    for (const bool first : {true, false}) {
        for (const auto& [name, data] : parts) {
            if ((name == "[Content_Types].xml") != first) continue;
            zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
            if (source == nullptr || zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
                throw std::runtime_error("cannot add " + name);
            }
        }
    }
    if (zip_close(archive) != 0) throw std::runtime_error("cannot write " + path);
}

Parts readParts(const std::string& path) {
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (archive == nullptr) throw std::runtime_error("cannot open " + path);
    Parts parts;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, i, 0, &stat);
        std::string data(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(archive, i, 0);
        zip_fread(file, data.data(), data.size());
        zip_fclose(file);
        parts[stat.name] = data;
    }
    zip_close(archive);
    return parts;
}

std::string documentXml(const std::string& body, bool strict) {
    const std::string ns = strict ? "http://purl.oclc.org/ooxml/wordprocessingml/main" : kW;
    return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
           R"(<w:document xmlns:w=")" +
           ns +
           R"(" xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006")"
           R"( xmlns:v="urn:schemas-microsoft-com:vml"><w:body>)" +
           body +
           R"(<w:sectPr><w:pgSz w:w="12240" w:h="15840"/>)"
           R"(<w:pgMar w:top="1440" w:right="1440" w:bottom="1440" w:left="1440" w:header="720" w:footer="720" w:gutter="0"/>)"
           R"(</w:sectPr></w:body></w:document>)";
}

std::string paragraph(const std::string& properties, const std::string& text) {
    return "<w:p>" + (properties.empty() ? std::string() : "<w:pPr>" + properties + "</w:pPr>") +
           "<w:r><w:t>" + text + "</w:t></w:r></w:p>";
}

std::string stylesXml(const std::string& content) {
    return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?><w:styles xmlns:w=")" + kW + R"(">)" +
           content + "</w:styles>";
}

std::string numberingXml(const std::string& content) {
    return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?><w:numbering xmlns:w=")" + kW + R"(">)" +
           content + "</w:numbering>";
}

void writeDocx(const std::string& path, const std::vector<Paragraph>& paragraphs) {
    std::string body;
    for (const Paragraph& p : paragraphs) {
        body += "<w:p><w:pPr>";
        if (p.pageBreakBefore) body += "<w:pageBreakBefore/>";
        if (p.leftTwips != 0 || p.rightTwips != 0) {
            body += "<w:ind w:left=\"" + std::to_string(p.leftTwips) + "\" w:right=\"" +
                    std::to_string(p.rightTwips) + "\"/>";
        }
        body += "</w:pPr><w:r><w:t xml:space=\"preserve\">" + p.text + "</w:t></w:r></w:p>";
    }
    writeDocx(path, Parts{{"word/document.xml", documentXml(body)}});
}

std::vector<Paragraph> pagedText(int pages, int linesPerPage) {
    std::vector<Paragraph> paragraphs;
    for (int page = 1; page <= pages; ++page) {
        for (int line = 1; line <= linesPerPage; ++line) {
            paragraphs.push_back({"Page " + std::to_string(page) + " line " + std::to_string(line), 0, 0,
                                  page > 1 && line == 1});
        }
    }
    return paragraphs;
}

}  // namespace testdocx
