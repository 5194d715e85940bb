#pragma once

// Whole-file reading on the host, shared by every reader of a small file (configuration, drive
// map, batch and description files).

#include <filesystem>
#include <string>

namespace spindeck::platform {

// Appends the file's bytes to `bytes`; 0, or the errno of the failure (EISDIR for a directory).
int readHostFile(const std::filesystem::path& file, std::string& bytes);

} // namespace spindeck::platform
