#pragma once

// The archive programs of the command interpreter: PKUNZIP, UNZIP, LHA (LHARC, LHA32), UNRAR,
// UNARJ and ARJ, each with its own option syntax as install batch files use it. A command line is
// first read into one extraction request (commandline.h); the entries of the archive then come
// from libarchive, or for ARJ archives from the `arj` program run into a private temporary
// directory, and every entry is placed through the DOS file system (extraction.h), so nothing
// lands outside the drive map and a CD-ROM target is refused like any other change there.

#include "platform/dosfs.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace spindeck::shell::archive {

struct ArchiveOutput {
    std::function<void(std::string_view line)> print; // normal output line (progress included)
    std::function<void(std::string_view line)> error; // one DOS-style error message line
};

// Whether the name (upper case; a directory before it and a .EXE or .COM after it are allowed)
// is one of the archive programs.
[[nodiscard]] bool isArchiveCommand(std::string_view upperName);

// Runs one archive program's command line: the name in upper case and its arguments as the batch
// file gave them (after %-expansion, redirections removed). Paths are DOS paths, resolved against
// fs's current drive and directories. Returns the errorlevel: 0 on success, otherwise the failure
// has been reported through `out.error`.
int runArchiveCommand(std::string_view upperName, const std::vector<std::string>& args, platform::DosFileSystem& fs,
                      const ArchiveOutput& out);

} // namespace spindeck::shell::archive
