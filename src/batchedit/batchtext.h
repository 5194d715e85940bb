#pragma once

// The text of the batch editor's two boxes. A file is shown without its last two characters (the
// line end of its last line) and cut at 40000 characters with a marker. Both files are ANSI
// (Windows-1252) text, and what is shown is written back byte for byte: a CR LF is a line break,
// while a lone CR or LF, which a text box cannot keep apart from one, shows as its control
// picture (U+240D, U+240A) and is written back as the byte it stands for.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace spindeck::batchedit {

inline constexpr std::size_t kEditorCap = 40000;
inline constexpr std::string_view kEditorTruncated = "---File Too Long: Truncated---";

struct ShownFile {
    std::string bytes; // the part shown, marker included
    bool truncated = false;
};

// `file` holds the whole file (or at least its first kEditorCap + 1 bytes and `length`).
[[nodiscard]] ShownFile shownPart(std::string_view file, std::uint64_t length);

// A line break of the box is U+2029 in the document's raw text and LF in plain text; both count.
[[nodiscard]] std::u16string editableText(std::string_view bytes);
[[nodiscard]] std::string fileBytes(std::u16string_view text);

} // namespace spindeck::batchedit
