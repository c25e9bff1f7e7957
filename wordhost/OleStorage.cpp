#include "wordhost/OleStorage.h"

#include <gsf/gsf.h>

#include <mutex>

namespace wordhost {

namespace {
void initGsf() {
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
}
}  // namespace

std::optional<OleStorage> OleStorage::open(const std::string& path) {
    initGsf();
    GError* error = nullptr;
    GsfInput* input = gsf_input_stdio_new(path.c_str(), &error);
    if (input == nullptr) {
        if (error != nullptr) g_error_free(error);
        return std::nullopt;
    }
    GsfInfile* infile = gsf_infile_msole_new(input, &error);
    g_object_unref(input);  // the infile keeps its own reference
    if (infile == nullptr) {
        if (error != nullptr) g_error_free(error);
        return std::nullopt;
    }
    return OleStorage(infile);
}

OleStorage::~OleStorage() {
    if (infile_ != nullptr) g_object_unref(infile_);
}

OleStorage::OleStorage(OleStorage&& other) noexcept : infile_(other.infile_) { other.infile_ = nullptr; }

// Compound files compare names without regard to case; writers differ in how they spell them.
static GsfInput* childNamed(void* infile, const char* name) {
    const int count = gsf_infile_num_children(GSF_INFILE(infile));
    for (int i = 0; i < count; ++i) {
        const char* child = gsf_infile_name_by_index(GSF_INFILE(infile), i);
        if (child != nullptr && g_ascii_strcasecmp(child, name) == 0)
            return gsf_infile_child_by_index(GSF_INFILE(infile), i);
    }
    return nullptr;
}

bool OleStorage::hasStream(const char* name) const {
    GsfInput* child = childNamed(infile_, name);
    if (child == nullptr) return false;
    g_object_unref(child);
    return true;
}

std::vector<unsigned char> OleStorage::readStream(const char* name, std::size_t count) const {
    GsfInput* child = childNamed(infile_, name);
    if (child == nullptr) return {};
    const auto size = static_cast<std::size_t>(gsf_input_size(child));
    std::vector<unsigned char> bytes(std::min(count, size));
    if (!bytes.empty() && gsf_input_read(child, bytes.size(), bytes.data()) == nullptr) bytes.clear();
    g_object_unref(child);
    return bytes;
}

}  // namespace wordhost
