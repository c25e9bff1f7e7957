#include "protocol/HostRecords.h"

#include <charconv>

#include "protocol/WordVocabulary.h"

namespace protocol {

namespace {
constexpr std::string_view kPrefix = "wordhost-";
constexpr std::string_view kSuffix = ".lock";
constexpr std::string_view kOwnerFile = "/.owner";
constexpr std::string_view kFolderPrefix = kPrivateFolderPrefix;
}  // namespace

std::string registrationName(int pid) {
    return std::string(kPrefix) + std::to_string(pid) + std::string(kSuffix);
}

std::optional<int> hostOfRegistrationName(std::string_view name) {
    if (name.size() <= kPrefix.size() + kSuffix.size() || name.substr(0, kPrefix.size()) != kPrefix ||
        name.substr(name.size() - kSuffix.size()) != kSuffix) {
        return std::nullopt;
    }
    const std::string_view digits =
        name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    if (digits.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    int pid = 0;
    const auto read = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
    if (read.ec != std::errc() || read.ptr != digits.data() + digits.size() || pid <= 0) return std::nullopt;
    return pid;
}

std::string privateFolderOfOwnerLink(std::string_view target) {
    if (target.size() <= kOwnerFile.size() || target.substr(target.size() - kOwnerFile.size()) != kOwnerFile)
        return {};
    const std::string_view folder = target.substr(0, target.size() - kOwnerFile.size());
    const std::size_t slash = folder.rfind('/');
    if (slash == std::string_view::npos ||
        folder.substr(slash + 1).substr(0, kFolderPrefix.size()) != kFolderPrefix) {
        return {};
    }
    return std::string(folder);
}

}  // namespace protocol
