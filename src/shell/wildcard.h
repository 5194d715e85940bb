#pragma once

// DOS wildcards. A pattern is matched the way DOS matches file names: name and extension apart,
// each padded ("*" fills its part with "?"), so "*.*" matches every file and "*" only files
// without an extension. Names are compared by their short (8.3) form without regard to case.

#include <string>
#include <string_view>

namespace spindeck::shell {

[[nodiscard]] bool hasWildcards(std::string_view name);

// Whether the short name `shortName` ("README~1.MAR", "SETUP.EXE") matches `pattern`.
[[nodiscard]] bool matchesWildcard(std::string_view pattern, std::string_view shortName);

// The name a file gets from a target pattern, as COPY and REN build it: "?" keeps the source's
// character at that place, "*" the rest of the source's name or extension, other characters
// replace. "*.*" keeps the source name whole (a long name included).
[[nodiscard]] std::string nameFromPattern(std::string_view sourceName, std::string_view pattern);

} // namespace spindeck::shell
