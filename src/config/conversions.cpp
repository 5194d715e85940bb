#include "conversions.h"

#include "platform/dospath.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

namespace spindeck::config {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexDigitValue(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The longest number at the start of `text`, and how many characters it took; a text that does
// not start with one gives nothing consumed.
struct ScannedNumber {
    double value = 0.0;
    std::size_t length = 0;
};

ScannedNumber scanHex(std::string_view text) {
    std::size_t i = 2; // after "&H"
    double value = 0.0;
    while (i < text.size() && hexDigitValue(text[i]) >= 0) {
        value = value * 16.0 + hexDigitValue(text[i]);
        ++i;
    }
    if (i == 2) {
        return {};
    }
    return {value, i};
}

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    return i;
}

ScannedNumber scanDecimal(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    const std::size_t integerStart = i;
    i = skipDigits(text, i);
    std::size_t digits = i - integerStart;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionStart = i + 1;
        const std::size_t fractionEnd = skipDigits(text, fractionStart);
        digits += fractionEnd - fractionStart;
        i = fractionEnd;
    }
    if (digits == 0) {
        return {};
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        const std::size_t exponentEnd = skipDigits(text, j);
        if (exponentEnd > j) {
            i = exponentEnd;
        }
    }
    std::string number(text.substr(0, i));
    for (char& c : number) {
        if (c == 'D' || c == 'd') {
            c = 'E';
        }
    }
    return {std::strtod(number.c_str(), nullptr), i};
}

ScannedNumber scanNumber(std::string_view text) {
    if (text.size() >= 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
        return scanHex(text);
    }
    return scanDecimal(text);
}

std::string_view trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

std::optional<double> strictNumber(std::string_view value) {
    const std::string_view text = trimSpaces(value);
    const ScannedNumber number = scanNumber(text);
    if (number.length == 0 || number.length != text.size() || !std::isfinite(number.value)) {
        return std::nullopt;
    }
    return number.value;
}

double lenientNumber(std::string_view value) {
    // Blanks anywhere are ignored, so "1 2" reads as 12.
    std::string compact;
    compact.reserve(value.size());
    for (char c : value) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') {
            compact += c;
        }
    }
    const ScannedNumber number = scanNumber(compact);
    return std::isfinite(number.value) ? number.value : 0.0;
}

std::optional<int> toInteger(double number) {
    if (!std::isfinite(number)) {
        return std::nullopt;
    }
    double rounded = std::floor(number);
    const double fraction = number - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0)) {
        rounded += 1.0;
    }
    if (rounded < -32768.0 || rounded > 32767.0) {
        return std::nullopt;
    }
    return static_cast<int>(rounded);
}

std::optional<Rgb> colourOf(int colourNumber) {
    static constexpr std::array<Rgb, 16> kChart{{
        {0, 0, 0},       // Black
        {0, 0, 128},     // Blue
        {0, 128, 0},     // Green
        {0, 128, 128},   // Cyan
        {128, 0, 0},     // Red
        {128, 0, 128},   // Magenta
        {128, 128, 0},   // Yellow
        {192, 192, 192}, // White
        {128, 128, 128}, // Gray
        {0, 0, 255},     // Light Blue
        {0, 255, 0},     // Light Green
        {0, 255, 255},   // Light Cyan
        {255, 0, 0},     // Light Red
        {255, 0, 255},   // Light Magenta
        {255, 255, 0},   // Light Yellow
        {255, 255, 255}, // Bright White
    }};
    if (colourNumber < 0 || colourNumber >= static_cast<int>(kChart.size())) {
        return std::nullopt;
    }
    return kChart[static_cast<std::size_t>(colourNumber)];
}

std::optional<bool> toBoolean(std::string_view value) {
    const std::string_view text = trimSpaces(value);
    if (platform::dospath::equalsIgnoringCase(text, "TRUE")) {
        return true;
    }
    if (platform::dospath::equalsIgnoringCase(text, "FALSE")) {
        return false;
    }
    if (const auto number = strictNumber(text)) {
        return *number != 0.0;
    }
    return std::nullopt;
}

} // namespace spindeck::config
