#include "tests/support/ConversionCalls.h"

#include <QClipboard>
#include <QGuiApplication>

#include "conversion/DocumentRun.h"

namespace testsupport {

using Word1::DocumentRun;
namespace wd = wordclient::wd;

void selectFirstPages(wordclient::WordApplication& word, int pages) {
    word.selectionGoTo(wd::GoToPage, wd::GoToNext, static_cast<std::int16_t>(pages + 1));
    for (const std::exception_ptr& failure : word.selectionMoveUpRepeated(
             wd::Line, DocumentRun::kLinesPerMove, wd::Extend, DocumentRun::kMovesPerPass)) {
        if (failure) std::rethrow_exception(failure);
    }
}

void selectToTheEnd(wordclient::WordApplication& word) { word.selectionEndKey(wd::Story, wd::Extend); }

QImage cutToClipboard(wordclient::WordApplication& word) {
    QGuiApplication::clipboard()->clear();
    word.selectionCut();
    return QGuiApplication::clipboard()->image();
}

}  // namespace testsupport
