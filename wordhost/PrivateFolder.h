#pragma once

#include <string>

namespace wordhost {

// The host's own temporary folder (mode 0700): the engine's profile and temporary files, the
// private copies of documents and their layouts. Removed when the host ends; a folder left by a
// host that was killed is removed by the next host (its owner lock is no longer held).
class PrivateFolder {
  public:
    PrivateFolder();  // throws std::runtime_error
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::string& path() const { return path_; }
    // A new empty subfolder with a name starting with `prefix`.
    std::string makeSubfolder(const std::string& prefix);
    void remove();  // idempotent

  private:
    std::string path_;
    int lockFd_ = -1;
    int next_ = 0;
};

}  // namespace wordhost
