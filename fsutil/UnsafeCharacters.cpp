#include "fsutil/AddFolder.h"

namespace AddFolder {

bool HasUnsafeCharacters(const QString& name) {
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t code = name[i].unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            ++i;  // a whole pair: a character beyond the basic plane, which UTF-8 carries
            continue;
        }
        if (QChar::isSurrogate(code)) return true;  // half a pair has no UTF-8 form
        if (code < 32 || code == u'?' || (code >= 127 && code <= 159)) return true;
    }
    return false;
}

}  // namespace AddFolder
