#pragma once

#include <string>

namespace wordhost {

// The document formats the host opens; the engine decides on the details (versions, code pages).
// Anything else would be opened by the engine as plain text, so it is refused instead.
enum class DocumentFormat {
    Empty,             // a zero-length file: opened as a new empty document
    WordprocessingML,  // .docx .docm .dotx .dotm (a zip package)
    Word97,            // .doc .dot of Word 6 and later (an OLE2 compound file)
    Word2,             // .doc of Word 1 and 2 (no compound file)
    Rtf,
    OpenDocument,  // .odt .ott (a zip package)
    FlatXml,       // Word 2003 XML, Word flat OPC, flat OpenDocument
};

// Looks at the file's content (not its name). Throws EngineError with a description the user
// can act on when the file is not a Word document or is protected by a password; `shownPath`
// is the path named in those messages.
DocumentFormat sniffDocument(const std::string& path, const std::string& shownPath);

}  // namespace wordhost
