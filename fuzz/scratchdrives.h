#pragma once

// A throw-away drive map for the fuzz targets that touch files: a temporary directory with a fixed
// drive C: (a few folders, long and short names, names differing only in case, a link that leads
// out of the drive and one that leads to itself), a CD-ROM D: and a drive E: whose folder is
// missing. The directory is removed when the program ends normally.

#include "platform/dosfs.h"

#include <filesystem>
#include <memory>

namespace spindeck::fuzz {

class ScratchDrives final {
public:
    ScratchDrives();
    ~ScratchDrives();
    ScratchDrives(const ScratchDrives&) = delete;
    ScratchDrives& operator=(const ScratchDrives&) = delete;

    [[nodiscard]] const std::filesystem::path& root() const { return m_root; }
    [[nodiscard]] platform::DriveMap driveMap() const;
    // True when `hostPath`, with its links followed as far as they exist, lies on a drive of the map.
    [[nodiscard]] bool onADrive(const std::filesystem::path& hostPath) const;

private:
    std::filesystem::path m_root;
};

// The drives of the whole run, made on first use.
ScratchDrives& scratchDrives();
// A file system over those drives, back on C:\ for every input, so that a finding can be replayed
// on its own.
platform::DosFileSystem& fileSystemOnC();

} // namespace spindeck::fuzz
