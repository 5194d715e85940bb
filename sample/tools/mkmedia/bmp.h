#pragma once

// 24-bit uncompressed BMP files.

#include <cstdint>
#include <string>
#include <vector>

namespace spindeck::mkmedia {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels; // rows from the top, width * height of them
};

// The bytes of a BMP file: file header, 40-byte info header, then the rows from the bottom, each
// padded to a multiple of four bytes.
[[nodiscard]] std::string bmpFile(const Image& image);

} // namespace spindeck::mkmedia
