#pragma once

#include <string>
#include <vector>

#include "protocol/PagePicture.h"

namespace wordhost {

// A picture of one or more pages, as the host renders it and sends it.
using PageImage = PagePicture;

// The pages one below the other, left-aligned on white, as wide as the widest.
PageImage stackPages(std::vector<PageImage> pages);

}  // namespace wordhost
