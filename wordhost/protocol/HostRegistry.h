#pragma once

#include <string>
#include <vector>

namespace wordhost {

// Running engine hosts register themselves per user, so "attach to a running Word" can find one
// from another window. A registration is a lock file held with flock() for the host's lifetime:
// a host that died leaves a file nobody holds, which the next look-up removes.

// $XDG_RUNTIME_DIR/marrowdale, or /tmp/marrowdale-UID when there is no runtime folder; made 0700.
std::string registryFolder();

class HostRegistration {
  public:
    // Registers the calling process; throws std::runtime_error when the folder cannot be used.
    HostRegistration();
    ~HostRegistration();
    HostRegistration(const HostRegistration&) = delete;
    HostRegistration& operator=(const HostRegistration&) = delete;

    const std::string& path() const { return path_; }

  private:
    int fd_ = -1;
    std::string path_;
};

// The process ids of the hosts registered and alive now, oldest file first.
std::vector<int> runningHosts();

// Whether the host with this process id is still registered and alive.
bool hostRunning(int pid);

// The private folder of the host with this process id (it holds the folder's owner file open),
// or empty when the process is no host or has none. Only the user's own processes can be seen.
std::string privateFolderOfHost(int pid);

}  // namespace wordhost
