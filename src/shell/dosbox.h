#pragma once

// DOS programs (.COM, .EXE) that an install script starts run in DOSBox when it is installed: the
// mapped drives are mounted under their own letters (a CD-ROM drive as a CD-ROM, read-only), the
// current drive and directory carried over, the program run, and DOSBox left again. DOSBox is
// started without a shell, from a folder of ours holding our own configuration, since it reads
// one from its working folder.

#include "platform/dosfs.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace spindeck::shell {

// The dosbox program on the host's PATH; nullopt when it is not installed.
[[nodiscard]] std::optional<std::filesystem::path> findDosbox();

// DOSBox's arguments for running `commandLine` (a DOS program and its arguments) with the drives
// of `files` mounted and its current drive and directory.
[[nodiscard]] std::vector<std::string> dosboxArguments(const platform::DosFileSystem& files,
                                                       const std::filesystem::path& configFile,
                                                       const std::string& commandLine);

// Runs DOSBox and waits for it. The exit status of DOSBox, or the reason it could not start.
struct DosboxRun {
    int status = 0;
    std::string problem; // empty when DOSBox ran
};
DosboxRun runDosbox(const std::filesystem::path& dosbox, const platform::DosFileSystem& files,
                    const std::string& commandLine);

} // namespace spindeck::shell
