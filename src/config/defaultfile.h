#pragma once

// The commented QRV.INI that the set-up writes when the program directory has none, so that the
// user finds every key at hand: 162 lines, each ended by CR LF, the last one empty.

#include <span>
#include <string>
#include <string_view>

namespace spindeck::config {

[[nodiscard]] std::span<const std::string_view> defaultFileLines();
[[nodiscard]] std::string defaultFileBytes();

} // namespace spindeck::config
