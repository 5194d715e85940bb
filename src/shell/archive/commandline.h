#pragma once

// Reading an archive program's command line into one extraction request. Each program has its own
// syntax (PKUNZIP: switches anywhere, the archive, then an optional target directory and file
// patterns; UNZIP: -d DIR; LHA, UNRAR, UNARJ and ARJ: a command letter first), but all of them ask
// for the same thing: which files of which archive go where, with or without their folders, and
// what happens to a file that is already there. No file system access: whether an operand names
// an existing directory is asked through a callback.

#include "platform/expected.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace spindeck::shell::archive {

enum class ArchiveProgram { Pkunzip, Unzip, Lha, Unrar, Unarj, Arj };

// What happens to a file that already exists at the target.
enum class Overwrite {
    Ask,       // the program would ask; with no one to answer the file is skipped and reported
    Never,     // skipped without a word
    Always,    // replaced
    NewerOnly, // replaced when the archived copy is newer
};

struct ExtractRequest {
    ArchiveProgram program = ArchiveProgram::Pkunzip;
    std::string archive;               // DOS path as written
    std::string defaultExtension;      // tried when the archive is not found as written (".ZIP")
    std::string target;                // DOS directory; empty for the current directory
    std::vector<std::string> patterns; // file patterns with wildcards; empty for every file
    std::vector<std::string> excluded; // patterns of files left in the archive (UNZIP -x, PKUNZIP -x)
    bool keepFolders = false;
    Overwrite overwrite = Overwrite::Ask;
    std::vector<std::string> ignoredOptions; // switches understood by the program but not here
};

struct CommandLineError {
    int errorlevel = 0;
    std::string message;
};

// The program a command name stands for ("PKUNZIP", "C:\NOS\LHA.EXE"); nullopt for any other.
[[nodiscard]] std::optional<ArchiveProgram> archiveProgram(std::string_view upperName);
[[nodiscard]] std::string_view programName(ArchiveProgram program);

// Whether a DOS path names an existing directory; decides whether an operand is a target.
using DirectoryProbe = std::function<bool(std::string_view dosPath)>;

[[nodiscard]] Expected<ExtractRequest, CommandLineError>
parseCommandLine(ArchiveProgram program, const std::vector<std::string>& args, const DirectoryProbe& isDirectory);

} // namespace spindeck::shell::archive
