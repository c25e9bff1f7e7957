#pragma once

#include <string>
#include <vector>

namespace protocol {

// Running engine hosts register themselves per user, so "attach to a running Word" can find one
// from another window. A registration is a lock file held with flock() for the host's lifetime:
// a host that died leaves a file nobody holds, which the next look-up removes.

// Where this process registers: $XDG_RUNTIME_DIR/marrowdale when the runtime folder is private
// to this user; otherwise a folder "marrowdale-hosts-UID-XXXXXX" under $TMPDIR (or /tmp) made by
// mkdtemp, the first such private folder of ours when one exists. A folder that is not ours, or
// that others may enter, is never used. Throws std::runtime_error when none can be had.
std::string registryFolder();

// The registry folder when one has been made already (a host registered there), else "": for
// companions of the registrations that must not leave a folder behind of their own.
std::string existingRegistryFolder();

// Keeps the registry under the temporary folder this process was started with, also after it
// points TMPDIR elsewhere (the host does, for the engine's own files): host and client must agree.
void pinRegistryTemporaryFolder();

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

}  // namespace protocol
