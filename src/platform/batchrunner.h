#pragma once

// Running a batch file and waiting for it, as the install window and the batch editor do: the
// program shows the run in a console window of its own (platform/console), window tests hand in
// a fake. The batch file runs in the command interpreter spindeck-cmd, which is handed the
// program's current drive and directories, so that a change made before the run (a GOTO tag of
// the install script) holds inside the batch file too.

#include "dosfs.h"

#include <string>
#include <string_view>
#include <vector>

namespace spindeck::platform {

class BatchRunner {
public:
    // The show state callers pass: a normal window that gets the focus.
    static constexpr int kNormalWindow = 1;
    // The result when the run could not be started or did not end by itself.
    static constexpr int kNotRun = -1;

    virtual ~BatchRunner() = default;
    // Runs the batch file the command line names ("c:\qrv.bat", then its parameters) and returns
    // once the run has ended and its window is closed. The result is the interpreter's exit status
    // (0 every command succeeded, 1 one failed, 2 the batch file could not be read) or kNotRun;
    // callers may ignore it.
    virtual int SyncShell(const std::string& commandLine, int showState) = 0;
};

// The words of a DOS command line, split at blanks and tabs. Double quotes keep blanks inside a
// word; they are dropped from the first word (the batch file) and kept in the parameters, which
// is what a batch file sees in %1 on DOS.
[[nodiscard]] std::vector<std::string> commandLineWords(std::string_view commandLine);

// The interpreter options that carry the current drive and directories: "--cd" and "X:\DIR" for
// every mapped drive whose current directory is not its root, then the pair of the current drive,
// which the interpreter makes current because it comes last.
[[nodiscard]] std::vector<std::string> currentDirectoryArguments(const DosFileSystem& files);

// The interpreter's whole argument list for a command line: the current directories, the batch
// file, its parameters.
[[nodiscard]] std::vector<std::string> interpreterArguments(const DosFileSystem& files, std::string_view commandLine);

} // namespace spindeck::platform
