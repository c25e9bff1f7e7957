#pragma once

#include <QString>
#include <cstdint>

namespace faulttest {

// Makes a folder unwritable for this process until destroyed: the permission bits for a user, a
// read-only bind mount for root (permission bits do not stop root). `ready()` is false where
// neither works (root without the right to mount).
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(const QString& folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    bool ready() const { return ready_; }

  private:
    QString folder_;
    bool mounted_ = false;
    bool ready_ = false;
};

// A small file system (tmpfs) mounted on a folder until destroyed; needs root.
class SmallDisk {
  public:
    SmallDisk(const QString& folder, int kilobytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool ready() const { return ready_; }

    // Fills the disk with a file until only `bytesLeft` stay free (a page of the file system at most more).
    void fillLeaving(std::int64_t bytesLeft);

  private:
    QString folder_;
    int fillers_ = 0;
    bool ready_ = false;
};

}  // namespace faulttest
