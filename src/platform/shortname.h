#pragma once

// Short (8.3) names. One function makes them and the path resolver accepts them, so a short path
// handed to an install script always leads back to the long name.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace spindeck::platform {

// True for a name that DOS could hold as it stands: a base of 1 to 8 characters, at most one dot,
// an extension of 1 to 3 characters, no space and no character DOS forbids.
[[nodiscard]] bool isShortName(std::string_view name);

// The short names of all the names of one directory, in the order given. A valid 8.3 name is its
// own short name; any other gets BASIS~N.EXT, N counted in byte order among the siblings with the
// same basis and extension, skipping numbers whose result a sibling already carries as its real
// name.
[[nodiscard]] std::vector<std::string> shortNames(std::span<const std::string> names);

} // namespace spindeck::platform
