#include "wordhost/WarmUp.h"

#include "wordhost/DocumentModel.h"
#include "wordhost/LibreOfficeSession.h"
#include "wordhost/MupdfLayout.h"

#define LOK_USE_UNSTABLE_API
#include <zip.h>

#include <LibreOfficeKit/LibreOfficeKit.hxx>

namespace wordhost {

namespace {

constexpr const char* kContentTypes =
    R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" )"
    R"(ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>)";
constexpr const char* kRelationships =
    R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" )"
    R"(Target="word/document.xml"/></Relationships>)";
constexpr const char* kDocument =
    R"(<?xml version="1.0" encoding="UTF-8"?><w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
    R"(<w:body><w:p><w:r><w:rPr><w:rFonts w:ascii="Calibri" w:hAnsi="Calibri"/></w:rPr><w:t>Warm</w:t></w:r></w:p>)"
    R"(<w:tbl><w:tr><w:tc><w:p><w:r><w:rPr><w:rFonts w:ascii="Times New Roman" w:hAnsi="Times New Roman"/></w:rPr>)"
    R"(<w:t>up</w:t></w:r></w:p></w:tc></w:tr></w:tbl><w:p/></w:body></w:document>)";

bool writeWarmDocument(const std::string& path) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) return false;
    for (const auto& [name, text] :
         {std::pair{"[Content_Types].xml", kContentTypes}, std::pair{"_rels/.rels", kRelationships},
          std::pair{"word/document.xml", kDocument}}) {
        zip_source_t* source = zip_source_buffer(archive, text, std::char_traits<char>::length(text), 0);
        if (source == nullptr || zip_file_add(archive, name, source, ZIP_FL_OVERWRITE) < 0) {
            if (source != nullptr) zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

}  // namespace

void warmUp(LibreOfficeSession& office, const std::string& folder) {
    const std::string document = folder + "/warm-up.docx";
    const std::string pdf = folder + "/warm-up.pdf";
    try {
        if (!writeWarmDocument(document)) return;
        {
            std::unique_ptr<lok::Document> loaded = office.load(document, document);
            // The first use of the document model loads the engine's type descriptions.
            DocumentModel(fileUrl(document)).indents();
            office.saveAs(*loaded, pdf, "pdf");
        }
        MupdfLayout layout(pdf);
        layout.lines(0);
        layout.render(0);
    } catch (const std::exception&) {
        // Only speed was at stake.
    }
}

}  // namespace wordhost
