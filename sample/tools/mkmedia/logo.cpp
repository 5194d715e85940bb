#include "designs.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace spindeck::mkmedia {

namespace {

struct Colour {
    double r = 0, g = 0, b = 0; // 0..255

    [[nodiscard]] Colour mixedWith(const Colour& other, double amount) const {
        return {r + (other.r - r) * amount, g + (other.g - g) * amount, b + (other.b - b) * amount};
    }
};

constexpr Colour kSkyTop{16, 26, 64};
constexpr Colour kSkyBottom{28, 118, 126};
constexpr Colour kSilver{204, 210, 222};
constexpr Colour kEdge{92, 98, 116};
constexpr Colour kHole{12, 16, 30};
constexpr Colour kSteelLight{236, 238, 244};
constexpr Colour kSteelDark{96, 102, 116};

constexpr int kDiscs = 3;
constexpr int kSubsamples = 3; // per side: nine samples a pixel smooth the edges

// The scene in units of the picture's shorter side, centred on (0, 0), y growing downwards.
constexpr double kDiscRadius = 0.36;
constexpr double kFlatten = 0.36; // discs seen from above at a slant: ellipses
constexpr double kDiscGap = 0.13;
constexpr double kThickness = 0.035;
constexpr double kHoleRadius = 0.07;
constexpr double kRodHalfWidth = 0.03;
constexpr double kRodTop = -0.40;
constexpr double kRodBottom = 0.20; // hidden inside the bottom disc

// Where (x, y) lies in an ellipse of the given radius around (0, centreY): 0 at the centre, 1 on
// the rim, more outside.
double ellipseDistance(double x, double y, double centreY, double radius) {
    const double dx = x / radius;
    const double dy = (y - centreY) / (radius * kFlatten);
    return std::sqrt(dx * dx + dy * dy);
}

Colour steel(double x) {
    // Lit from the left: bright a third of the way across, dark at the right edge.
    const double across = std::clamp((x + kRodHalfWidth) / (2 * kRodHalfWidth), 0.0, 1.0);
    return kSteelLight.mixedWith(kSteelDark, std::abs(across - 0.3) / 0.7);
}

// The face of a disc: silver with a rainbow sheen that turns around the centre, a clear ring
// round the hole, and a darker rim.
Colour face(double x, double y, double centreY, double distance) {
    const double angle = std::atan2((y - centreY) / kFlatten, x);
    const double sheen = 0.5 + 0.5 * std::cos(2 * angle);
    const double tint = 2 * angle + 4 * distance;
    Colour colour{kSilver.r + 34 * std::cos(tint), kSilver.g + 34 * std::cos(tint + 2.1),
                  kSilver.b + 34 * std::cos(tint + 4.2)};
    colour = colour.mixedWith({255, 255, 255}, 0.35 * sheen);
    if (distance < 0.36) {
        colour = colour.mixedWith({170, 190, 215}, 0.5);
    }
    if (distance > 0.96) {
        colour = colour.mixedWith(kEdge, 0.6);
    }
    return colour;
}

Colour scene(double x, double y) {
    Colour colour = kSkyTop.mixedWith(kSkyBottom, std::clamp(y + 0.5, 0.0, 1.0));
    const double glow = std::exp(-8 * (x * x + y * y));
    colour = colour.mixedWith({90, 170, 190}, 0.35 * glow);

    const bool onRod = std::abs(x) <= kRodHalfWidth && y >= kRodTop && y <= kRodBottom;
    if (onRod) {
        colour = steel(x);
    }
    double topCentre = 0;
    for (int disc = 0; disc < kDiscs; ++disc) {
        const double centreY = (1 - disc) * kDiscGap; // from the bottom of the stack up
        topCentre = centreY;
        const double below = ellipseDistance(x, y, centreY + kThickness, kDiscRadius);
        const bool onSide = below <= 1 || (std::abs(x) <= kDiscRadius && y >= centreY && y <= centreY + kThickness);
        const double distance = ellipseDistance(x, y, centreY, kDiscRadius);
        if (distance <= 1) {
            const double hole = ellipseDistance(x, y, centreY, kHoleRadius);
            if (hole > 1) {
                colour = face(x, y, centreY, distance);
            } else if (onRod) {
                colour = steel(x).mixedWith(kHole, 0.25);
            } else {
                colour = kHole;
            }
        } else if (onSide) {
            colour = kEdge.mixedWith(kHole, std::clamp(0.5 + x / kDiscRadius * 0.4, 0.0, 1.0));
        }
    }
    // The rod rises out of the top disc, in front of its far half, and ends in a rounded cap.
    if (onRod && y < topCentre) {
        colour = steel(x);
    }
    if (ellipseDistance(x, y, kRodTop, kRodHalfWidth) <= 1) {
        colour = kSteelLight.mixedWith(kSteelDark, 0.2);
    }
    return colour;
}

} // namespace

Image logo(int width, int height) {
    Image image{width, height, std::vector<Rgb>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))};
    const double unit = std::min(width, height);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            Colour sum;
            for (int sy = 0; sy < kSubsamples; ++sy) {
                for (int sx = 0; sx < kSubsamples; ++sx) {
                    const double px = column + (sx + 0.5) / kSubsamples;
                    const double py = row + (sy + 0.5) / kSubsamples;
                    const Colour c = scene((px - width / 2.0) / unit, (py - height / 2.0) / unit);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
            }
            constexpr double kSamples = kSubsamples * kSubsamples;
            const auto channel = [](double value) {
                return static_cast<std::uint8_t>(std::lround(std::clamp(value / kSamples, 0.0, 255.0)));
            };
            image.pixels[static_cast<std::size_t>(row) * width + column] = {channel(sum.r), channel(sum.g),
                                                                            channel(sum.b)};
        }
    }
    return image;
}

} // namespace spindeck::mkmedia
