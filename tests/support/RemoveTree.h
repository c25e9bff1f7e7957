#pragma once

#include <QString>

namespace testsupport {

// Removes a folder with everything in it, opening locked folders on the way (a test may have
// taken the rights away). Does not follow links. True when nothing of it is left.
bool removeTree(const QString& folder);

}  // namespace testsupport
