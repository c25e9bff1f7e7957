#pragma once

#include <QImage>
#include <QPoint>

namespace icontool {

// Our own drawings, made with QPainter at the size asked for; transparent around the shape.

// A white pointing hand with a dark outline, the index finger up (the button pointer).
QImage drawPointingHand(int size);
// Where the hand points: the tip of the index finger, for a 32-pixel hand.
QPoint pointingHandHotSpot();

// A small stack of pages (the pointer while an entry is carried up or down the list).
QImage drawPageStack(int size);

// The application icon: a page of text with a picture card in front of it.
QImage drawApplicationIcon(int size);

}  // namespace icontool
