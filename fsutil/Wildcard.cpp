#include "fsutil/Wildcard.h"

#include <QList>

namespace fsutil {

namespace {

// Glob matching with one backtracking point: the last "*" seen.
bool globMatch(const QList<uint>& name, const QList<uint>& pattern) {
    qsizetype n = 0;
    qsizetype p = 0;
    qsizetype starAt = -1;
    qsizetype nameAtStar = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            nameAtStar = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++nameAtStar;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool plainMatch(const QString& name, const QString& pattern) {
    return globMatch(name.toCaseFolded().toUcs4(), pattern.toCaseFolded().toUcs4());
}

}  // namespace

bool MatchesWildcard(const QString& name, const QString& pattern) {
    if (plainMatch(name, pattern)) return true;
    if (pattern.endsWith(QLatin1String(".*"))) return plainMatch(name, pattern.chopped(2));
    if (pattern.size() > 1 && pattern.endsWith(QLatin1Char('.')) && !name.contains(QLatin1Char('.'))) {
        return plainMatch(name, pattern.chopped(1));
    }
    return false;
}

}  // namespace fsutil
