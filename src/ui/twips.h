#pragma once

// Window and control geometry is designed in twips, 1440 to the inch: 15 twips a pixel at 96 dpi
// (Qt scales pixels for HiDPI screens).

#include <QRect>
#include <cmath>

namespace spindeck::ui {

inline constexpr double kTwipsPerPixel = 15.0;

[[nodiscard]] inline int pixels(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
[[nodiscard]] inline double twips(int pixels) {
    return pixels * kTwipsPerPixel;
}

[[nodiscard]] inline QRect twipsRect(double left, double top, double width, double height) {
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

} // namespace spindeck::ui
