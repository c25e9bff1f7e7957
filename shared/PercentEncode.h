#pragma once

#include <string>
#include <string_view>

namespace shared {

// `bytes` with every byte `keep` refuses written as "%XX" (upper-case hex).
template <typename Keep>
std::string percentEncode(std::string_view bytes, Keep keep) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (keep(c)) {
            out += byte;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

}  // namespace shared
