#pragma once

// The tools every interpreter of the program gets: the archive commands, when they are built.

#include "interpreter.h"

#include <vector>

namespace spindeck::shell {

[[nodiscard]] std::vector<Tool> standardTools();

} // namespace spindeck::shell
