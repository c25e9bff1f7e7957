#include "tests/support/HostTestSupport.h"

#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "protocol/HostRegistry.h"
#include "tests/support/Processes.h"
#include "tests/support/ScratchHome.h"

namespace wordhosttest {

std::map<std::string, std::string> folderSnapshot(const QString& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : std::filesystem::directory_iterator(folder.toStdString())) {
        std::string bytes;
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream content;
            content << in.rdbuf();
            bytes = content.str();
        }
        entries[entry.path().filename().string()] = bytes;
    }
    return entries;
}

bool processAlive(pid_t pid) { return pid > 0 && ::kill(pid, 0) == 0; }

pid_t onlyRunningHost() {
    const std::vector<int> hosts = protocol::runningHosts();
    return hosts.size() == 1 ? hosts.front() : -1;
}

std::vector<pid_t> childHosts() {
    std::vector<pid_t> hosts;
    for (const testsupport::ProcessStatus& child : testsupport::livingChildrenOf(::getpid())) {
        if (child.name.starts_with("marrowdale-word")) hosts.push_back(static_cast<pid_t>(child.pid));
    }
    return hosts;
}

int runShell(const QString& command, QString* output) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    process.waitForFinished(-1);
    if (output != nullptr) *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace wordhosttest
