#include "designs.h"

#include <algorithm>
#include <cmath>

namespace spindeck::mkmedia {

namespace {

constexpr double kCornerRadius = 0.18; // of the side, as desktop icons round their squares
constexpr int kSubsamples = 4;         // per side: the rounded corners are smoothed over 16 samples

bool insideRoundedSquare(double x, double y, double side) {
    const double radius = kCornerRadius * side;
    const double dx = std::max({radius - x, x - (side - radius), 0.0});
    const double dy = std::max({radius - y, y - (side - radius), 0.0});
    return dx * dx + dy * dy <= radius * radius;
}

// The share of the pixel at (column, row) that lies inside the rounded square, as an alpha value.
std::uint8_t coverage(int column, int row, int side) {
    int inside = 0;
    for (int sy = 0; sy < kSubsamples; ++sy) {
        for (int sx = 0; sx < kSubsamples; ++sx) {
            if (insideRoundedSquare(column + (sx + 0.5) / kSubsamples, row + (sy + 0.5) / kSubsamples, side)) {
                ++inside;
            }
        }
    }
    return static_cast<std::uint8_t>(inside * 255 / (kSubsamples * kSubsamples));
}

} // namespace

TranslucentImage icon(int side) {
    TranslucentImage picture{logo(side, side), {}};
    picture.alpha.reserve(picture.image.pixels.size());
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            picture.alpha.push_back(coverage(column, row, side));
        }
    }
    return picture;
}

} // namespace spindeck::mkmedia
