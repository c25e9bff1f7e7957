#pragma once

#include <QString>

namespace fsutil {

// Directory-listing wildcards on a whole file name, without regard to case: "*" any run of
// characters, "?" exactly one. A pattern ending in ".*" also matches the name without any
// extension ("*.*" matches every name), and one ending in "." also matches a name that has no dot.
bool MatchesWildcard(const QString& name, const QString& pattern);

}  // namespace fsutil
