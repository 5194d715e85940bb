#pragma once

// Folder creation in the install window: the entry names a folder path, relative ("NEW\SUB", taken
// from the highlighted directory) or with a drive ("D:\APPS", "D:APPS", taken from that drive's
// root). Every missing folder on the way is created; folders already there are walked through.

#include "platform/dosfs.h"

#include <string>
#include <string_view>
#include <vector>

namespace spindeck::install {

// The characters the entry refuses as they are typed: they cannot stand in a file name.
[[nodiscard]] bool isRefusedInFolderName(char16_t c);

struct FolderEntry {
    char drive = 0;                 // the drive letter given before a colon; 0 for a relative path
    std::vector<std::string> names; // the folders to walk, outermost first
};

// Empty names (a doubled or trailing backslash) are skipped.
[[nodiscard]] FolderEntry parseFolderEntry(std::string_view text);

struct FolderFailure {
    std::string message; // names the folder and the reason, for a message box
};

// Walks `names` from `parent` (a DOS directory path), creating each folder that is missing; the
// deepest folder's path. A failure stops the walk; the folders made before it stay.
[[nodiscard]] Expected<std::string, FolderFailure> createFolders(platform::DosFileSystem& files, std::string parent,
                                                                 const std::vector<std::string>& names);

} // namespace spindeck::install
