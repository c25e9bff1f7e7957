// The compound file reader, on any file: the streams the sniffer asks for, looked up in any
// letter case and read as far as they go.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/FuzzInput.h"
#include "wordhost/OleStorage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<wordhost::OleStorage> storage =
        wordhost::OleStorage::open(fuzz::inputFile(data, size));
    if (!storage) return 0;
    for (const char* name :
         {"WordDocument", "worddocument", "EncryptedPackage", "1Table", "\005SummaryInformation"}) {
        const bool present = storage->hasStream(name);
        const std::vector<unsigned char> head = storage->readStream(name, 4096);
        if (!present && !head.empty()) std::abort();
        if (head.size() > 4096) std::abort();
    }
    return 0;
}
