#include "png.h"

#include "bytes.h"

#include <stdexcept>
#include <zlib.h>

namespace spindeck::mkmedia {

namespace {

// A chunk: length, type, data, and the CRC of type and data.
void putChunk(std::string& out, const char* type, const std::string& data) {
    bytes::putBe(out, static_cast<std::uint32_t>(data.size()), 4);
    const std::size_t typeAt = out.size();
    out += type;
    out += data;
    const auto* checked = reinterpret_cast<const Bytef*>(out.data() + typeAt);
    bytes::putBe(out, static_cast<std::uint32_t>(crc32(0, checked, static_cast<uInt>(4 + data.size()))), 4);
}

// Each row starts with filter type 0 (none), then R, G, B, A per pixel.
std::string scanlines(const TranslucentImage& picture) {
    const auto width = static_cast<std::size_t>(picture.image.width);
    std::string raw;
    raw.reserve((width * 4 + 1) * static_cast<std::size_t>(picture.image.height));
    for (std::size_t row = 0; row < static_cast<std::size_t>(picture.image.height); ++row) {
        raw.push_back('\0');
        for (std::size_t x = 0; x < width; ++x) {
            const Rgb& pixel = picture.image.pixels[row * width + x];
            raw.push_back(static_cast<char>(pixel.red));
            raw.push_back(static_cast<char>(pixel.green));
            raw.push_back(static_cast<char>(pixel.blue));
            raw.push_back(static_cast<char>(picture.alpha[row * width + x]));
        }
    }
    return raw;
}

std::string deflated(const std::string& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
                  static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK) {
        throw std::runtime_error("cannot compress the picture");
    }
    packed.resize(size);
    return packed;
}

} // namespace

std::string pngFile(const TranslucentImage& picture) {
    std::string header;
    bytes::putBe(header, static_cast<std::uint32_t>(picture.image.width), 4);
    bytes::putBe(header, static_cast<std::uint32_t>(picture.image.height), 4);
    header += std::string{8, 6, 0, 0, 0}; // 8 bits a sample, RGBA, deflate, adaptive filters, no interlace

    std::string out = "\x89PNG\r\n\x1A\n";
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", deflated(scanlines(picture)));
    putChunk(out, "IEND", "");
    return out;
}

} // namespace spindeck::mkmedia
