#include "tests/support/Processes.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace testsupport {

std::optional<ProcessStatus> processStatus(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return std::nullopt;
    // pid (name) state parent ...: the name may hold blanks and parentheses.
    const std::size_t open = line.find('(');
    const std::size_t close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) return std::nullopt;
    ProcessStatus status;
    status.pid = pid;
    status.name = line.substr(open + 1, close - open - 1);
    if (std::sscanf(line.c_str() + close + 1, " %c %d", &status.state, &status.parent) != 2)
        return std::nullopt;
    return status;
}

bool processEnded(int pid) {
    const std::optional<ProcessStatus> status = processStatus(pid);
    return !status || status->state == 'Z';
}

std::vector<ProcessStatus> livingChildrenOf(int parent) {
    std::vector<ProcessStatus> children;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::optional<ProcessStatus> status = processStatus(std::stoi(name));
        if (status && status->parent == parent && status->state != 'Z') children.push_back(*status);
    }
    return children;
}

}  // namespace testsupport
