#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace protocol {

// The records of the registry of running hosts as they are read back from the file system: the
// name of a host's registration file, and the link of the ".owner" file its private folder holds.

// "wordhost-PID.lock", the registration file of the host with process id `pid`.
std::string registrationName(int pid);

// The process id a registration file is named for; nothing for any other name, and for an id no
// process can have (0, negative, too large).
std::optional<int> hostOfRegistrationName(std::string_view name);

// The private folder whose ".owner" file the descriptor link `target` names, or "" when it names
// no owner file of a host's private folder.
std::string privateFolderOfOwnerLink(std::string_view target);

}  // namespace protocol
