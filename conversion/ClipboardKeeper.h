#pragma once

#include <QMimeData>
#include <memory>

namespace Word1 {

// Keeps what the user had on the clipboard while the page pictures pass through it, and puts it
// back when the document is done.
class ClipboardKeeper {
  public:
    ClipboardKeeper();  // takes a copy of the clipboard as it is now
    ~ClipboardKeeper();
    ClipboardKeeper(const ClipboardKeeper&) = delete;
    ClipboardKeeper& operator=(const ClipboardKeeper&) = delete;

    // Empties the clipboard, so that only a picture put there afterwards counts as the next page.
    void clearForNextPicture();
    // Puts the user's content back (or leaves the clipboard empty when it was empty); once.
    void restore();

  private:
    std::unique_ptr<QMimeData> saved_;
    bool restored_ = false;
};

}  // namespace Word1
