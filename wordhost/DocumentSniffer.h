#pragma once

#include <string>

namespace wordhost {

// The document formats the host opens. Anything else would be opened by the engine as plain
// text, so it is refused instead.
enum class DocumentFormat {
    WordprocessingML,  // .docx .docm .dotx .dotm (a zip package)
    Word97,            // .doc .dot (an OLE2 compound file)
    Rtf,
    OpenDocument,  // .odt .ott (a zip package)
    FlatXml,       // Word 2003 XML, Word flat OPC, flat OpenDocument
};

// Looks at the file's content (not its name). Throws EngineError with a description the user
// can act on when the file is not a Word document or is protected by a password; `shownPath`
// is the path named in those messages.
DocumentFormat sniffDocument(const std::string& path, const std::string& shownPath);

}  // namespace wordhost
