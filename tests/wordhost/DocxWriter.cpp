#include "tests/wordhost/DocxWriter.h"

#include <zip.h>

#include <stdexcept>

namespace wordhosttest {

namespace {

constexpr const char* kContentTypes = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="xml" ContentType="application/xml"/>
<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>
</Types>)";

constexpr const char* kRels = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>
</Relationships>)";

// libzip reads `text` at zip_close(), so it must live until then.
void add(zip_t* archive, const char* name, const std::string& text) {
    zip_source_t* source = zip_source_buffer(archive, text.data(), text.size(), 0);
    if (source == nullptr || zip_file_add(archive, name, source, ZIP_FL_OVERWRITE) < 0) {
        throw std::runtime_error("cannot add " + std::string(name));
    }
}

}  // namespace

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
    const std::string document =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)" +
        body +
        R"(<w:sectPr><w:pgSz w:w="12240" w:h="15840"/><w:pgMar w:top="1440" w:right="1440" w:bottom="1440" w:left="1440" w:header="720" w:footer="720" w:gutter="0"/></w:sectPr></w:body></w:document>)";
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) throw std::runtime_error("cannot create " + path);
    const std::string contentTypes = kContentTypes;
    const std::string rels = kRels;
    add(archive, "[Content_Types].xml", contentTypes);
    add(archive, "_rels/.rels", rels);
    add(archive, "word/document.xml", document);
    if (zip_close(archive) != 0) throw std::runtime_error("cannot write " + path);
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

}  // namespace wordhosttest
