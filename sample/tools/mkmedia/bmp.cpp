#include "bmp.h"

#include "bytes.h"

namespace spindeck::mkmedia {

std::string bmpFile(const Image& image) {
    using bytes::putLe;
    constexpr std::uint32_t kHeaders = 14 + 40;
    const auto width = static_cast<std::uint32_t>(image.width);
    const auto height = static_cast<std::uint32_t>(image.height);
    const std::uint32_t stride = (width * 3 + 3) / 4 * 4;
    const std::uint32_t imageSize = stride * height;

    std::string out = "BM";
    out.reserve(kHeaders + imageSize);
    putLe(out, kHeaders + imageSize, 4);
    putLe(out, 0, 4); // reserved
    putLe(out, kHeaders, 4);
    putLe(out, 40, 4);
    putLe(out, width, 4);
    putLe(out, height, 4); // positive: rows from the bottom
    putLe(out, 1, 2);      // planes
    putLe(out, 24, 2);     // bits per pixel
    putLe(out, 0, 4);      // no compression
    putLe(out, imageSize, 4);
    putLe(out, 2835, 4); // 72 dots per inch, in dots per metre
    putLe(out, 2835, 4);
    putLe(out, 0, 4); // no palette
    putLe(out, 0, 4);
    for (std::uint32_t row = height; row-- > 0;) {
        const Rgb* pixel = image.pixels.data() + static_cast<std::size_t>(row) * width;
        for (std::uint32_t x = 0; x < width; ++x, ++pixel) {
            out.push_back(static_cast<char>(pixel->blue));
            out.push_back(static_cast<char>(pixel->green));
            out.push_back(static_cast<char>(pixel->red));
        }
        out.append(stride - width * 3, '\0');
    }
    return out;
}

} // namespace spindeck::mkmedia
