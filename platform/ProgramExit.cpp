#include "platform/ProgramExit.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <thread>

#include "protocol/HostRegistry.h"

namespace platform {

namespace {
std::map<int, std::function<void()>>& endActions() {
    static std::map<int, std::function<void()>> actions;
    return actions;
}

// Parent id of every running process, from /proc/<pid>/stat ("pid (name) state ppid ...").
std::multimap<pid_t, pid_t> childrenByParent() {
    std::multimap<pid_t, pid_t> children;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isNumber = false;
        const pid_t pid = entry.toInt(&isNumber);
        if (!isNumber) continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        const QByteArray line = stat.readAll();
        // The name may hold blanks and parentheses: the fields go on after the last ")".
        const qsizetype close = line.lastIndexOf(')');
        if (close < 0) continue;
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (fields.size() < 2) continue;
        children.emplace(fields[1].toInt(), pid);
    }
    return children;
}
// Waits for a killed child to end (it may already be reaped elsewhere) without reaping it.
bool endedWithin(pid_t pid, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        siginfo_t info{};
        if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return true;
        if (info.si_pid == pid) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}
}  // namespace

int addProgramEndAction(std::function<void()> action) {
    static int lastId = 0;
    endActions().emplace(++lastId, std::move(action));
    return lastId;
}

void removeProgramEndAction(int id) { endActions().erase(id); }

void endChildProcesses() {
    // Collect the whole tree first: a killed parent's children are handed to another parent.
    const std::multimap<pid_t, pid_t> children = childrenByParent();
    std::set<pid_t> descendants;
    std::vector<pid_t> pending{::getpid()};
    while (!pending.empty()) {
        const pid_t parent = pending.back();
        pending.pop_back();
        const auto [first, last] = children.equal_range(parent);
        for (auto it = first; it != last; ++it) {
            if (descendants.insert(it->second).second) pending.push_back(it->second);
        }
    }
    // An engine host killed here cannot remove its private folder: it is removed once it ended.
    std::vector<std::pair<pid_t, std::string>> hostFolders;
    for (const pid_t pid : descendants) {
        std::string folder = protocol::privateFolderOfHost(pid);
        if (!folder.empty()) hostFolders.emplace_back(pid, std::move(folder));
    }
    for (const pid_t pid : descendants) ::kill(pid, SIGKILL);
    for (const auto& [pid, folder] : hostFolders) {
        endedWithin(pid, std::chrono::seconds(2));
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
}

void endProgramAtOnce() {
    for (auto& [id, action] : endActions()) {
        try {
            action();
        } catch (...) {
            // Ending must not be stopped by one failing action.
        }
    }
    endChildProcesses();
    std::fflush(nullptr);
    ::_exit(0);
}

}  // namespace platform
