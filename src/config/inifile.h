#pragma once

// QRV.INI, the configuration file beside the program. Every value is found by one rule: the first
// line that contains the key anywhere decides; its value is the text between the last "=" before
// the line's last ";" and that ";". The rule knows no sections and no comments, which is why a
// comment or a longer key that stands before a key's own line captures its lookup (the lint in
// lint.h shows where that happens).
//
// IniDocument holds the file's lines once, so the start-up's many lookups need one read;
// GetIniValue is the same lookup straight from the file.

#include "platform/expected.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace spindeck::config {

inline constexpr std::string_view kConfigFileName = "QRV.INI";
// What a lookup gives when no line can be used.
inline constexpr std::string_view kNoUsableLine = "-1";

// The configuration file's DOS path: the program directory, a backslash unless it already ends
// with one (a drive root), and QRV.INI.
[[nodiscard]] std::string configPath(std::string_view programDirectory);

struct IniReadError {
    std::filesystem::path path;
    std::string reason;
};

struct IniLookup {
    std::optional<std::string> value; // nullopt: no usable line
    int line = 0;                     // 1-based number of the deciding line; 0 when no line holds the key
};

class IniDocument final {
public:
    // Lines end at CR, CR LF or a lone LF.
    static IniDocument fromBytes(std::string_view bytes);
    static Expected<IniDocument, IniReadError> load(const std::filesystem::path& path);

    [[nodiscard]] IniLookup lookup(std::string_view key) const;
    [[nodiscard]] const std::vector<std::string>& lines() const { return m_lines; }

private:
    std::vector<std::string> m_lines;
};

// The value of `key` in the file, "-1" when no line can be used (also when the file cannot be
// read: the lookup reports nothing).
[[nodiscard]] std::string GetIniValue(const std::filesystem::path& path, std::string_view key);

} // namespace spindeck::config
