#pragma once
// Small helpers shared by the crypto tests.

#include <cstddef>
#include <cstdint>
#include <string>

inline std::string ToHex(const std::uint8_t* pb, std::size_t n) {
    std::string str;
    for (std::size_t i = 0; i < n; ++i) {
        str += "0123456789abcdef"[pb[i] >> 4];
        str += "0123456789abcdef"[pb[i] & 15];
    }
    return str;
}

inline const std::uint8_t* Bytes(const std::string& str) {
    return reinterpret_cast<const std::uint8_t*>(str.data());
}
