#pragma once

#include <QImage>
#include <QMimeData>
#include <memory>

namespace Word1 {

// Keeps what the user had on the clipboard while the page pictures pass through it, and puts it
// back when the document is done, unless the user has copied something meanwhile.
class ClipboardKeeper {
  public:
    ClipboardKeeper();  // takes a copy of the clipboard as it is now
    ~ClipboardKeeper();
    ClipboardKeeper(const ClipboardKeeper&) = delete;
    ClipboardKeeper& operator=(const ClipboardKeeper&) = delete;

    // Empties the clipboard, so that only a picture put there afterwards counts as the next page.
    void clearForNextPicture();
    // Takes the picture the last cut left on the clipboard, if any; within the clipboard turn.
    void takePagePicture();
    // The picture taken. Throws platform::AppError when the clipboard held none.
    QImage pagePicture();
    // Puts the user's content back (or leaves the clipboard empty when it was empty); once. Only
    // while the clipboard still holds what the conversion left there last: anything the user
    // copied during the last page or the cleanup stays.
    void restore();

  private:
    bool holdsWhatWeLeft() const;

    std::unique_ptr<QMimeData> saved_;
    bool changed_ = false;    // the clipboard was emptied at least once
    qint64 lastPicture_ = 0;  // the key of the last picture taken since it was emptied; 0: none
    QImage picture_;          // taken and not yet handed out
    bool restored_ = false;
};

}  // namespace Word1
