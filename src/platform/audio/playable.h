#pragma once

// What the cue player and the music control share: finding the host file behind a DOS path.

#include "platform/dosfs.h"
#include "platform/expected.h"

#include <filesystem>
#include <string>

namespace spindeck::platform::audio {

// The host path of a regular file at the DOS path, or the path and the reason there is none
// ("C:\SOUND\X.WAV: file not found", "...: is a directory"). Devices and pipes are refused too:
// opening one could block or read without end.
[[nodiscard]] Expected<std::filesystem::path, std::string> playableFile(const DosFileSystem& files,
                                                                        const std::string& dosPath);

} // namespace spindeck::platform::audio
