#include "conversion/ClipboardKeeper.h"

#include <QClipboard>
#include <QGuiApplication>

namespace Word1 {

namespace {
QClipboard* clipboard() {
    return QGuiApplication::instance() != nullptr ? QGuiApplication::clipboard() : nullptr;
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
    if (QClipboard* board = clipboard()) board->clear();
}

void ClipboardKeeper::restore() {
    if (restored_) return;
    restored_ = true;
    QClipboard* board = clipboard();
    if (board == nullptr) return;
    if (saved_) {
        board->setMimeData(saved_.release());  // the clipboard takes ownership
    } else {
        board->clear();
    }
}

}  // namespace Word1
