#pragma once

#include <sys/types.h>

#include <QString>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/support/Polling.h"

namespace wordhosttest {

// Every entry of a folder (names, and the bytes of files), to see that nothing changed in it.
std::map<std::string, std::string> folderSnapshot(const QString& folder);

using testsupport::waitUntil;

bool processAlive(pid_t pid);

// The one engine host registered now, or -1 when there is none or more than one.
pid_t onlyRunningHost();

// The engine hosts this test process started (registered or spare).
std::vector<pid_t> childHosts();

// Runs a command line through /bin/sh; returns its exit status and what it printed.
int runShell(const QString& command, QString* output = nullptr);

}  // namespace wordhosttest
