#pragma once

namespace mainwindow {

// The window is designed in twips; the screen has 15 of them to a pixel.
constexpr int kTwipsPerPixel = 15;
constexpr int pixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

}  // namespace mainwindow
