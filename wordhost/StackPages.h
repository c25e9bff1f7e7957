#pragma once

#include <string>
#include <vector>

#include "protocol/PagePicture.h"

namespace wordhost {

// The pages one below the other, left-aligned on white, as wide as the widest.
protocol::PagePicture stackPages(std::vector<protocol::PagePicture> pages);

}  // namespace wordhost
