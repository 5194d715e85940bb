#pragma once

// Copying bytes between two host files that the drive map has already vouched for. Neither end
// follows a symbolic link: a link gives ELOOP, and the caller then goes the slower way through the
// resolver, which follows a link only when it stays on its drive.

#include <filesystem>

namespace spindeck::shell {

// 0, or the errno of the failure. `to` is created or truncated.
[[nodiscard]] int copyHostFile(const std::filesystem::path& from, const std::filesystem::path& to);

// 0, or the errno of the failure; a symbolic link is removed itself, never what it leads to.
[[nodiscard]] int removeHostEntry(const std::filesystem::path& entry);

} // namespace spindeck::shell
