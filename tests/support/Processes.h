#pragma once

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// One process as /proc/PID/stat shows it.
struct ProcessStatus {
    int pid = 0;
    std::string name;  // the command's name, at most 15 characters
    char state = 0;    // 'Z': ended, not yet collected by its parent
    int parent = 0;
};

// What /proc says of the process now; nothing once it is gone.
std::optional<ProcessStatus> processStatus(int pid);

// Gone, or a zombie waiting to be collected.
bool processEnded(int pid);

// The children of `parent` that have not ended.
std::vector<ProcessStatus> livingChildrenOf(int parent);

}  // namespace testsupport
