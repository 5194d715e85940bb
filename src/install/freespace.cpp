#include "freespace.h"

namespace spindeck::install {

namespace {

struct Hundredths {
    std::uint64_t whole = 0;
    unsigned fraction = 0; // 0 to 99
};

// Rounded half up, in integers: the remainder is below the divisor, so nothing overflows.
Hundredths divideRounded(std::uint64_t bytes, std::uint64_t divisor) {
    Hundredths value{bytes / divisor, 0};
    const std::uint64_t hundredths = (bytes % divisor * 200 + divisor) / (2 * divisor);
    if (hundredths == 100) {
        ++value.whole;
    } else {
        value.fraction = static_cast<unsigned>(hundredths);
    }
    return value;
}

std::string twoDigits(unsigned fraction) {
    return {static_cast<char>('0' + fraction / 10), static_cast<char>('0' + fraction % 10)};
}

std::string setUpNumber(Hundredths value, std::string_view point) {
    std::string number = value.whole == 0 ? "" : std::to_string(value.whole);
    number += point;
    if (value.fraction != 0) {
        std::string decimals = twoDigits(value.fraction);
        if (decimals.back() == '0') {
            decimals.pop_back();
        }
        number += decimals;
    }
    return number;
}

std::string driveChangeNumber(Hundredths value, std::string_view point) {
    return std::to_string(value.whole) + std::string(point) + twoDigits(value.fraction);
}

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string freeSpaceLine(std::string_view driveText, std::uint64_t freeBytes, FreeSpacePattern pattern,
                          std::string_view decimalPoint) {
    std::string drive;
    for (const char c : driveText.substr(0, 2)) {
        drive += upperAscii(c);
    }
    const std::string number = pattern == FreeSpacePattern::SetUp
                                   ? setUpNumber(divideRounded(freeBytes, 1'000'000), decimalPoint)
                                   : driveChangeNumber(divideRounded(freeBytes, 1'024'000), decimalPoint);
    return "Drive " + drive + "= " + number + " Megs";
}

} // namespace spindeck::install
