#pragma once

// A check of QRV.INI for disc authors. The lookup rule (the first line that contains a key decides)
// lets a comment, a section line or a longer key that stands first capture a key's lookup; the
// lint names, for every key the program reads, the line that the lookup really lands on when
// that is not the key's own setting line, every value the program cannot convert, and every
// picture, sound or music file that is missing beside the file.

#include "inifile.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace spindeck::config {

struct LintFinding {
    int line = 0;
    std::string message;
};

// Answers whether a file named by a value (relative to the configuration file's directory,
// backslashes as separators) exists.
using MediaExists = std::function<bool(std::string_view relativeDosPath)>;

[[nodiscard]] std::vector<LintFinding> lintIni(const IniDocument& ini, const MediaExists& mediaExists);

} // namespace spindeck::config
