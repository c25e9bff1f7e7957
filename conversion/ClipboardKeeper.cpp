#include "conversion/ClipboardKeeper.h"

#include <QClipboard>
#include <QGuiApplication>
#include <utility>

#include "conversion/ClipboardTurn.h"
#include "platform/AppError.h"

namespace Word1 {

namespace {
QClipboard* clipboard() {
    return QGuiApplication::instance() != nullptr ? QGuiApplication::clipboard() : nullptr;
}

bool isEmpty(const QClipboard& board) {
    const QMimeData* current = board.mimeData();
    return current == nullptr || current->formats().isEmpty();
}
}  // namespace

ClipboardKeeper::ClipboardKeeper() {
    QClipboard* board = clipboard();
    if (board == nullptr) return;
    const QMimeData* current = board->mimeData();
    if (current == nullptr || current->formats().isEmpty()) return;
    saved_ = std::make_unique<QMimeData>();
    if (current->hasImage()) saved_->setImageData(current->imageData());
    for (const QString& format : current->formats()) {
        if (format == QLatin1String("application/x-qt-image")) continue;
        saved_->setData(format, current->data(format));
    }
}

ClipboardKeeper::~ClipboardKeeper() { restore(); }

void ClipboardKeeper::clearForNextPicture() {
    QClipboard* board = clipboard();
    if (board == nullptr) return;
    board->clear();
    changed_ = true;
    lastPicture_ = 0;
    picture_ = QImage();
}

void ClipboardKeeper::takePagePicture() {
    QClipboard* board = clipboard();
    picture_ = board != nullptr ? board->image() : QImage();
    // A copy of the picture shares its key, so the clipboard is known to hold it still; anything
    // copied afterwards, even the same picture, has a key of its own.
    lastPicture_ = picture_.isNull() ? 0 : picture_.cacheKey();
}

QImage ClipboardKeeper::pagePicture() {
    if (picture_.isNull()) {
        throw platform::AppError(platform::ErrorNumber::InvalidProcedureCall,
                                 QStringLiteral("The clipboard holds no picture of this page."));
    }
    return std::exchange(picture_, QImage());
}

bool ClipboardKeeper::holdsWhatWeLeft() const {
    const QClipboard* board = clipboard();
    if (board == nullptr || !changed_) return false;
    if (lastPicture_ == 0) return isEmpty(*board);
    const QImage now = board->image();
    return !now.isNull() && now.cacheKey() == lastPicture_;
}

void ClipboardKeeper::restore() {
    if (restored_) return;
    restored_ = true;
    // Checked outside the clipboard turn: the check may ask another program, even another copy
    // waiting for the turn, for what it holds.
    if (!holdsWhatWeLeft()) return;
    // Written within it: another copy may be between its cut and its picture.
    const ClipboardTurn turn;
    QClipboard* board = clipboard();
    if (saved_) {
        board->setMimeData(saved_.release());  // the clipboard takes ownership
    } else {
        board->clear();
    }
}

}  // namespace Word1
