#pragma once

#include "protocol/PagePicture.h"

namespace wordhost {

// Turns a 32-bit picture whose every pixel has red, green and blue alike into its 8-bit grey
// picture, which means the same pixels in a quarter of the bytes. A picture with colour, or one
// already grey, is left as it is.
void makeGreyIfColourless(protocol::PagePicture& picture);

}  // namespace wordhost
