#pragma once

#include <QImage>

#include "wordclient/WordApplication.h"

namespace testsupport {

// The Word calls of the conversion's page loop, for tests that drive an engine themselves.

// The first `pages` pages left: to the start of the page after them, then backed up line by line
// to the top, in the conversion's moves. Throws the first failure.
void selectFirstPages(wordclient::WordApplication& word, int pages);

// The last pass: everything to the end of the story.
void selectToTheEnd(wordclient::WordApplication& word);

// Empties the clipboard, cuts the selection, and returns what the cut put there.
QImage cutToClipboard(wordclient::WordApplication& word);

}  // namespace testsupport
