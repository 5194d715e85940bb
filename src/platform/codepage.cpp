#include "codepage.h"

#include <algorithm>
#include <array>

namespace spindeck::platform {

namespace {

// Code page 437: the glyphs of the DOS screen for every byte. 0x00 shows as a blank.
constexpr std::array<char16_t, 256> kCodePage437{{
    u' ',      u'\u263A', u'\u263B', u'\u2665', u'\u2666', u'\u2663', u'\u2660', u'\u2022', // 00
    u'\u25D8', u'\u25CB', u'\u25D9', u'\u2642', u'\u2640', u'\u266A', u'\u266B', u'\u263C', // 08
    u'\u25BA', u'\u25C4', u'\u2195', u'\u203C', u'\u00B6', u'\u00A7', u'\u25AC', u'\u21A8', // 10
    u'\u2191', u'\u2193', u'\u2192', u'\u2190', u'\u221F', u'\u2194', u'\u25B2', u'\u25BC', // 18
    u' ',      u'!',      u'"',      u'#',      u'$',      u'%',      u'&',      u'\'',     // 20
    u'(',      u')',      u'*',      u'+',      u',',      u'-',      u'.',      u'/',      // 28
    u'0',      u'1',      u'2',      u'3',      u'4',      u'5',      u'6',      u'7',      // 30
    u'8',      u'9',      u':',      u';',      u'<',      u'=',      u'>',      u'?',      // 38
    u'@',      u'A',      u'B',      u'C',      u'D',      u'E',      u'F',      u'G',      // 40
    u'H',      u'I',      u'J',      u'K',      u'L',      u'M',      u'N',      u'O',      // 48
    u'P',      u'Q',      u'R',      u'S',      u'T',      u'U',      u'V',      u'W',      // 50
    u'X',      u'Y',      u'Z',      u'[',      u'\\',     u']',      u'^',      u'_',      // 58
    u'`',      u'a',      u'b',      u'c',      u'd',      u'e',      u'f',      u'g',      // 60
    u'h',      u'i',      u'j',      u'k',      u'l',      u'm',      u'n',      u'o',      // 68
    u'p',      u'q',      u'r',      u's',      u't',      u'u',      u'v',      u'w',      // 70
    u'x',      u'y',      u'z',      u'{',      u'|',      u'}',      u'~',      u'\u2302', // 78
    u'\u00C7', u'\u00FC', u'\u00E9', u'\u00E2', u'\u00E4', u'\u00E0', u'\u00E5', u'\u00E7', // 80
    u'\u00EA', u'\u00EB', u'\u00E8', u'\u00EF', u'\u00EE', u'\u00EC', u'\u00C4', u'\u00C5', // 88
    u'\u00C9', u'\u00E6', u'\u00C6', u'\u00F4', u'\u00F6', u'\u00F2', u'\u00FB', u'\u00F9', // 90
    u'\u00FF', u'\u00D6', u'\u00DC', u'\u00A2', u'\u00A3', u'\u00A5', u'\u20A7', u'\u0192', // 98
    u'\u00E1', u'\u00ED', u'\u00F3', u'\u00FA', u'\u00F1', u'\u00D1', u'\u00AA', u'\u00BA', // A0
    u'\u00BF', u'\u2310', u'\u00AC', u'\u00BD', u'\u00BC', u'\u00A1', u'\u00AB', u'\u00BB', // A8
    u'\u2591', u'\u2592', u'\u2593', u'\u2502', u'\u2524', u'\u2561', u'\u2562', u'\u2556', // B0
    u'\u2555', u'\u2563', u'\u2551', u'\u2557', u'\u255D', u'\u255C', u'\u255B', u'\u2510', // B8
    u'\u2514', u'\u2534', u'\u252C', u'\u251C', u'\u2500', u'\u253C', u'\u255E', u'\u255F', // C0
    u'\u255A', u'\u2554', u'\u2569', u'\u2566', u'\u2560', u'\u2550', u'\u256C', u'\u2567', // C8
    u'\u2568', u'\u2564', u'\u2565', u'\u2559', u'\u2558', u'\u2552', u'\u2553', u'\u256B', // D0
    u'\u256A', u'\u2518', u'\u250C', u'\u2588', u'\u2584', u'\u258C', u'\u2590', u'\u2580', // D8
    u'\u03B1', u'\u00DF', u'\u0393', u'\u03C0', u'\u03A3', u'\u03C3', u'\u00B5', u'\u03C4', // E0
    u'\u03A6', u'\u0398', u'\u03A9', u'\u03B4', u'\u221E', u'\u03C6', u'\u03B5', u'\u2229', // E8
    u'\u2261', u'\u00B1', u'\u2265', u'\u2264', u'\u2320', u'\u2321', u'\u00F7', u'\u2248', // F0
    u'\u00B0', u'\u2219', u'\u00B7', u'\u221A', u'\u207F', u'\u00B2', u'\u25A0', u'\u00A0', // F8
}};

// Windows-1252 from 0x80 to 0x9F; elsewhere it equals Latin-1.
constexpr std::array<char16_t, 32> kWindows1252High{{
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021', // 80
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F', // 88
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014', // 90
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178', // 98
}};

} // namespace

std::u16string ansiText(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += (byte >= 0x80 && byte < 0xA0) ? kWindows1252High[byte - 0x80] : static_cast<char16_t>(byte);
    }
    return text;
}

std::string ansiBytes(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (const char16_t c : text) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            bytes += static_cast<char>(c);
            continue;
        }
        const auto* high = std::find(kWindows1252High.begin(), kWindows1252High.end(), c);
        bytes += high == kWindows1252High.end() ? '?' : static_cast<char>(0x80 + (high - kWindows1252High.begin()));
    }
    return bytes;
}

char16_t oemCharacter(unsigned char byte) {
    return kCodePage437[byte];
}

std::u16string oemTextForDisplay(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r') {
            text += u'\n';
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
        } else if (byte == '\n' || byte == '\t') {
            text += static_cast<char16_t>(byte);
        } else {
            text += kCodePage437[byte];
        }
    }
    return text;
}

} // namespace spindeck::platform
