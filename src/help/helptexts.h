#pragma once

// The three texts of the Help menu. Their lines are joined by a line feed followed by a carriage
// return, with no break before the first line or after the last.

#include <string>

namespace spindeck::help {

inline constexpr const char* kLineBreak = "\n\r";
inline constexpr const char* kConfiguringCaption = "Configuration Help!";

[[nodiscard]] std::string commandsText();
[[nodiscard]] std::string configuringText();
[[nodiscard]] std::string aboutText();

} // namespace spindeck::help
