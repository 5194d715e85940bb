#pragma once

// How configuration values become numbers, colours, sizes and switches. Strict numbers must be
// numbers as a whole; lenient numbers take the leading numeric part (a value without one is 0).
// Both accept a sign, digits, a decimal point, an exponent, or "&H" and hexadecimal digits.
// A conversion that fails gives nullopt, and the element it was meant for keeps its state.

#include <cstdint>
#include <optional>
#include <string_view>

namespace spindeck::config {

[[nodiscard]] std::optional<double> strictNumber(std::string_view value);
[[nodiscard]] double lenientNumber(std::string_view value);

// Rounded to the nearest integer, halves to the even neighbour; nullopt outside -32768..32767.
[[nodiscard]] std::optional<int> toInteger(double number);

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The 16-colour chart; nullopt for a number outside 0..15.
[[nodiscard]] std::optional<Rgb> colourOf(int colourNumber);

// "TRUE" or "FALSE" in any case, or a strict number (0 false, anything else true).
[[nodiscard]] std::optional<bool> toBoolean(std::string_view value);

// The largest distance in twips that a window or control can take (the toolkit's limit of
// 16777215 pixels at 15 twips a pixel).
inline constexpr double kMaxTwips = 16777215.0 * 15.0;

} // namespace spindeck::config
