#pragma once

// The install window's free-space line, "Drive C:= 512.35 Megs". The window's set-up counts
// megabytes of 1,000,000 bytes and drops trailing zeros ("12." and ".25"); a drive change counts
// units of 1,024,000 bytes with two decimals always ("11.72", "0.24"). Both round to the nearest
// hundredth. Byte counts are 64-bit, so drives of several terabytes show their real size.

#include <cstdint>
#include <string>
#include <string_view>

namespace spindeck::install {

enum class FreeSpacePattern {
    SetUp,       // bytes / 1,000,000 as "###.##"
    DriveChange, // bytes / 1,024,000 as "###0.#0"
};

// `driveText` is the drive list's text ("c: [DOS]"); its first two characters name the drive.
[[nodiscard]] std::string freeSpaceLine(std::string_view driveText, std::uint64_t freeBytes, FreeSpacePattern pattern,
                                        std::string_view decimalPoint);

} // namespace spindeck::install
