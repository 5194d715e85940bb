#pragma once

// Little-endian and big-endian integers appended to a byte string, as the file formats here need.

#include <cstdint>
#include <string>

namespace spindeck::mkmedia::bytes {

inline void putLe(std::string& out, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFU));
    }
}

inline void putBe(std::string& out, std::uint32_t value, int size) {
    for (int i = size - 1; i >= 0; --i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFU));
    }
}

} // namespace spindeck::mkmedia::bytes
