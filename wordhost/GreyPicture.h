#pragma once

#include "protocol/PagePicture.h"

namespace wordhost {

// Makes a 32-bit picture as small as it can travel and mean the same pixels: without colour
// anywhere, its 8-bit grey picture (a quarter of the bytes); with colour in some bands of 16 rows,
// a banded picture whose grey bands are 8-bit. Packed in the picture's own memory. A picture
// with colour in every band, or one not 32-bit, is left as it is.
void packGreyBands(protocol::PagePicture& picture);

}  // namespace wordhost
