// The host registry's records: registration file names and owner-file links, which any process of
// the user can make. The input is a name, a zero byte and a link.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "protocol/HostRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t zero = input.find('\0');
    const std::string_view name = input.substr(0, zero);
    const std::string_view link =
        zero == std::string_view::npos ? std::string_view() : input.substr(zero + 1);

    if (const std::optional<int> pid = protocol::hostOfRegistrationName(name)) {
        if (*pid <= 0 || protocol::hostOfRegistrationName(protocol::registrationName(*pid)) != pid)
            std::abort();
    }
    const std::string folder = protocol::privateFolderOfOwnerLink(link);
    if (!folder.empty() &&
        (link.substr(0, folder.size()) != folder || link.substr(folder.size()) != "/.owner"))
        std::abort();
    return 0;
}
