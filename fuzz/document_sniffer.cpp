// The document sniffer, on any file a user can put in the list: it names a format or refuses the
// file with a description, and never does anything else.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzInput.h"
#include "wordhost/DocumentSniffer.h"
#include "wordhost/EngineError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        wordhost::sniffDocument(fuzz::inputFile(data, size), "document.doc");
    } catch (const wordhost::EngineError&) {
        // refused: not a Word document, or protected by a password
    }
    return 0;
}
