#pragma once

// Where the entries come from: libarchive reads zip, lzh and rar archives itself; ARJ archives are
// unpacked by the arj program into a private temporary directory first, whose files are then
// handed on like any archive's entries. Both stop at the first failure the extraction calls fatal.

#include "commandline.h"
#include "extraction.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace spindeck::shell::archive {

void extractWithLibarchive(const std::filesystem::path& hostArchive, std::string_view dosArchive,
                           ArchiveProgram program, Extraction& extraction);

// The arj program on PATH; nullopt when it is not installed.
[[nodiscard]] std::optional<std::filesystem::path> findArjProgram();

void extractWithArj(const std::filesystem::path& arjProgram, const std::filesystem::path& hostArchive,
                    std::string_view dosArchive, Extraction& extraction);

} // namespace spindeck::shell::archive
