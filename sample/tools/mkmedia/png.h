#pragma once

// PNG files with an alpha channel: 8-bit RGBA, no interlacing, compressed with zlib.

#include "bmp.h"

#include <cstdint>
#include <string>
#include <vector>

namespace spindeck::mkmedia {

// The picture's pixels with a coverage per pixel (0 transparent, 255 opaque), rows from the top.
struct TranslucentImage {
    Image image;
    std::vector<std::uint8_t> alpha; // width * height of them
};

// The bytes of a PNG file: signature, IHDR, one IDAT, IEND.
[[nodiscard]] std::string pngFile(const TranslucentImage& picture);

} // namespace spindeck::mkmedia
