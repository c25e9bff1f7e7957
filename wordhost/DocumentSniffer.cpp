#include "wordhost/DocumentSniffer.h"

#include <zip.h>

#include <cstring>
#include <fstream>

#include "wordhost/EngineError.h"
#include "wordhost/OleStorage.h"

namespace wordhost {

namespace {

constexpr unsigned char kOleMagic[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

[[noreturn]] void notWord(const std::string& shown) {
    throw EngineError("\"" + shown + "\" is not a Word document.");
}

[[noreturn]] void encrypted(const std::string& shown) {
    throw EngineError("The document \"" + shown + "\" is protected by a password and cannot be opened.");
}

std::string readHead(const std::string& path, std::size_t count) {
    std::ifstream in(path, std::ios::binary);
    std::string head(count, '\0');
    in.read(head.data(), static_cast<std::streamsize>(count));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head;
}

std::string readZipEntry(zip_t* archive, const char* name, std::size_t limit) {
    zip_file_t* file = zip_fopen(archive, name, 0);
    if (file == nullptr) return {};
    std::string text(limit, '\0');
    const zip_int64_t got = zip_fread(file, text.data(), limit);
    zip_fclose(file);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

DocumentFormat sniffZip(const std::string& path, const std::string& shown) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (archive == nullptr) notWord(shown);
    const std::string types = readZipEntry(archive, "[Content_Types].xml", 1 << 20);
    const std::string mimetype = readZipEntry(archive, "mimetype", 256);
    const std::string manifest = readZipEntry(archive, "META-INF/manifest.xml", 1 << 20);
    const bool wordPart = zip_name_locate(archive, "word/document.xml", ZIP_FL_NOCASE) >= 0;
    zip_close(archive);
    if (wordPart || types.find("wordprocessingml") != std::string::npos ||
        types.find("application/vnd.ms-word.") != std::string::npos) {
        return DocumentFormat::WordprocessingML;
    }
    if (mimetype.rfind("application/vnd.oasis.opendocument.text", 0) == 0) {
        if (manifest.find("encryption-data") != std::string::npos) encrypted(shown);
        return DocumentFormat::OpenDocument;
    }
    notWord(shown);
}

constexpr unsigned kFibEncrypted = 0x0100;  // fEncrypted, in the flags word of every FIB from Word 2 on

unsigned word16(const unsigned char* bytes) { return bytes[0] | (bytes[1] << 8); }

DocumentFormat sniffOle(const std::string& path, const std::string& shown) {
    const std::optional<OleStorage> storage = OleStorage::open(path);
    if (!storage) notWord(shown);
    // An encrypted OOXML package is a compound file around the encrypted zip.
    if (storage->hasStream("EncryptedPackage")) encrypted(shown);
    // Stream names are matched without regard to case, as Word and the engine do.
    if (!storage->hasStream("WordDocument")) notWord(shown);
    const std::vector<unsigned char> fib = storage->readStream("WordDocument", 12);
    if (fib.size() >= 12 && (word16(&fib[10]) & kFibEncrypted) != 0) encrypted(shown);
    return DocumentFormat::Word97;
}

// Word 1 and 2 wrote the FIB at the start of the file itself.
bool isWord2Document(const std::string& head) {
    if (head.size() < 32) return false;
    const unsigned ident = word16(reinterpret_cast<const unsigned char*>(head.data()));
    return ident == 0xA59B || ident == 0xA59C || ident == 0xA5DB;
}

bool isFlatXmlDocument(std::string head) {
    if (head.rfind("\xEF\xBB\xBF", 0) == 0) head.erase(0, 3);
    const std::size_t start = head.find_first_not_of(" \t\r\n");
    if (start == std::string::npos || head.compare(start, 5, "<?xml") != 0) return false;
    return head.find("schemas.microsoft.com/office/word/2003/wordml") != std::string::npos ||
           (head.find("schemas.microsoft.com/office/2006/xmlPackage") != std::string::npos &&
            head.find("wordprocessingml") != std::string::npos) ||
           (head.find("urn:oasis:names:tc:opendocument:xmlns:office:1.0") != std::string::npos &&
            head.find("application/vnd.oasis.opendocument.text") != std::string::npos);
}

}  // namespace

DocumentFormat sniffDocument(const std::string& path, const std::string& shown) {
    const std::string head = readHead(path, 1 << 16);
    if (head.empty()) return DocumentFormat::Empty;
    if (head.size() >= 4 && head.compare(0, 4, "PK\x03\x04", 4) == 0) return sniffZip(path, shown);
    if (head.size() >= 8 && std::memcmp(head.data(), kOleMagic, 8) == 0) return sniffOle(path, shown);
    if (head.rfind("{\\rtf", 0) == 0) return DocumentFormat::Rtf;
    if (isWord2Document(head)) {
        if ((word16(reinterpret_cast<const unsigned char*>(head.data()) + 10) & kFibEncrypted) != 0)
            encrypted(shown);
        return DocumentFormat::Word2;
    }
    if (isFlatXmlDocument(head)) return DocumentFormat::FlatXml;
    notWord(shown);
}

}  // namespace wordhost
