#pragma once

// DOS path text without any file system access: splitting "D:..\SETUP\" into a drive, an
// absolute flag and its components, applying "." and ".." to a directory, and joining the result
// back into "D:\SETUP". The resolver in dosfs.h builds on these; they are kept apart so that the
// text rules can be tested and reused on their own.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace spindeck::platform::dospath {

struct ParsedPath {
    char drive = 0;                           // upper case; 0 when the text names no drive
    bool absolute = false;                    // the part after the drive starts with a separator
    std::vector<std::string_view> components; // as written, empty ones dropped (separators collapse)
};

// Both "\" and "/" separate components.
[[nodiscard]] constexpr bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// nullopt for text that cannot be a DOS path: empty text, a NUL byte, or a ":" anywhere but right
// after a leading drive letter.
[[nodiscard]] std::optional<ParsedPath> parse(std::string_view text);

// Applies components to a directory given as its components: "." is ignored and ".." removes the
// last one, stopping at the root as DOS does.
void apply(std::vector<std::string>& directory, const std::vector<std::string_view>& components);

// "\GAMES\DEMO", or "\" for the root.
[[nodiscard]] std::string directoryText(const std::vector<std::string>& components);
// "C:\GAMES\DEMO", or "C:\" for the root.
[[nodiscard]] std::string join(char drive, const std::vector<std::string>& components);

// False for a name DOS refuses to create: empty, or holding one of "*/:<>?\| or a control character.
[[nodiscard]] bool isValidName(std::string_view name);

// Upper case of the ASCII letters only; bytes of 0x80 and above are kept as they are.
[[nodiscard]] char upperAscii(char c);
[[nodiscard]] std::string upperAscii(std::string_view text);
[[nodiscard]] bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace spindeck::platform::dospath
