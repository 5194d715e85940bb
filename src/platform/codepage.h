#pragma once

// The OEM character set of the description boxes: code page 437 as a DOS screen shows it. Bytes
// 0x01 to 0x1F and 0x7F are the screen's glyphs (☺ ♥ ♪ ⌂ ...), so box art drawn with them looks as
// it did on DOS; only CR, LF and TAB keep their meaning as line ends and tabs. Stock converters
// turn those bytes into control codes instead.

#include <string>
#include <string_view>

namespace spindeck::platform {

// One UTF-16 code unit per byte; every line end (CR LF, lone CR, lone LF) becomes one LF.
// Linear in the length of the text.
[[nodiscard]] std::u16string oemTextForDisplay(std::string_view bytes);

// The character a byte stands for on the DOS screen.
[[nodiscard]] char16_t oemCharacter(unsigned char byte);

// The ANSI character set (Windows-1252) of the other boxes and labels. The five bytes it leaves
// undefined map to the C1 controls of the same number, so every byte comes back on encoding.
[[nodiscard]] std::u16string ansiText(std::string_view bytes);

// The bytes of text in the ANSI character set: the inverse of ansiText, so every decoded byte comes
// back as it was. A character the set lacks (typed by the user) becomes "?".
[[nodiscard]] std::string ansiBytes(std::u16string_view text);

} // namespace spindeck::platform
