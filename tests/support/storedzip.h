#pragma once

// A zip archive with its members stored (not compressed), written byte by byte, so that tests of
// the archive commands need no zip program.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace spindeck::testing {

inline std::uint32_t crc32(const std::string& bytes) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t value = i;
            for (int bit = 0; bit < 8; ++bit) {
                value = (value & 1U) != 0 ? 0xEDB88320U ^ (value >> 1U) : value >> 1U;
            }
            entries[i] = value;
        }
        return entries;
    }();
    std::uint32_t crc = 0xFFFFFFFFU;
    for (const char c : bytes) {
        crc = table[(crc ^ static_cast<unsigned char>(c)) & 0xFFU] ^ (crc >> 8U);
    }
    return crc ^ 0xFFFFFFFFU;
}

// Members as (name, bytes); a name ending in "/" is a folder.
inline std::string storedZip(const std::vector<std::pair<std::string, std::string>>& members) {
    const auto put = [](std::string& out, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            out += static_cast<char>((value >> (8 * i)) & 0xFFU);
        }
    };
    std::string zip;
    std::string directory;
    for (const auto& [name, bytes] : members) {
        const auto offset = static_cast<std::uint32_t>(zip.size());
        const std::uint32_t crc = crc32(bytes);
        const auto size = static_cast<std::uint32_t>(bytes.size());
        const auto nameSize = static_cast<std::uint32_t>(name.size());
        put(zip, 0x04034b50U, 4);
        put(zip, 20, 2);   // version needed
        put(zip, 0, 2);    // flags
        put(zip, 0, 2);    // stored
        put(zip, 0, 2);    // time
        put(zip, 0x21, 2); // 1 January 1980
        put(zip, crc, 4);
        put(zip, size, 4);
        put(zip, size, 4);
        put(zip, nameSize, 2);
        put(zip, 0, 2);
        zip += name;
        zip += bytes;

        put(directory, 0x02014b50U, 4);
        put(directory, 20, 2);
        put(directory, 20, 2);
        put(directory, 0, 2);
        put(directory, 0, 2);
        put(directory, 0, 2);
        put(directory, 0x21, 2);
        put(directory, crc, 4);
        put(directory, size, 4);
        put(directory, size, 4);
        put(directory, nameSize, 2);
        put(directory, 0, 2); // extra
        put(directory, 0, 2); // comment
        put(directory, 0, 2); // disk
        put(directory, 0, 2); // internal attributes
        put(directory, name.ends_with('/') ? 0x10U : 0U, 4);
        put(directory, offset, 4);
        directory += name;
    }
    const auto directoryOffset = static_cast<std::uint32_t>(zip.size());
    zip += directory;
    put(zip, 0x06054b50U, 4);
    put(zip, 0, 2);
    put(zip, 0, 2);
    put(zip, static_cast<std::uint32_t>(members.size()), 2);
    put(zip, static_cast<std::uint32_t>(members.size()), 2);
    put(zip, static_cast<std::uint32_t>(directory.size()), 4);
    put(zip, directoryOffset, 4);
    put(zip, 0, 2);
    return zip;
}

} // namespace spindeck::testing
