#pragma once

#include <string>

namespace Word1 {

// Copies of the program running at once share the one system clipboard. Each takes its turn from
// emptying the clipboard to taking the page's picture off it, so that none takes another copy's
// page for its own or finds the clipboard emptied under it. The turn is a lock (flock) on a file in
// the private folder this user's engine hosts register in (without one, no turn is taken); a copy
// that dies gives its turn up with its files. Within the turn a copy must never ask another
// program for the clipboard's content: that program may be a copy waiting for the turn, deaf to
// the request until the wait ends.
class ClipboardTurn {
  public:
    // Waits for the turn, at most a few seconds: a copy that holds it longer is stuck, and this one
    // goes on without it rather than hang.
    ClipboardTurn();
    ~ClipboardTurn();
    ClipboardTurn(const ClipboardTurn&) = delete;
    ClipboardTurn& operator=(const ClipboardTurn&) = delete;

    bool held() const { return fd_ >= 0; }
    // The lock file; "" when there is no registry folder to keep it in.
    static std::string lockPath();

  private:
    int fd_ = -1;
};

}  // namespace Word1
