#pragma once

// What the FILE_ID.DIZ box shows of a file: all but its last two characters (the file's closing
// line end, or a line end and an end-of-file mark), or, for a long file, its first 40000
// characters and a note that it was cut.

#include <cstdint>
#include <string>
#include <string_view>

namespace spindeck::browse {

inline constexpr std::size_t kDizCap = 40000;
inline constexpr std::string_view kDizTruncated = "---File Too Long: Truncated---";

// `head` holds at least the first min(length, kDizCap) bytes of a file of `length` bytes.
// A file shorter than 2 bytes shows nothing.
[[nodiscard]] std::string dizShown(std::string_view head, std::uint64_t length);

} // namespace spindeck::browse
