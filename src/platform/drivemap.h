#pragma once

// The drive map: which host directory stands behind each DOS drive letter, and of what kind the
// drive is. The map is read from drives.conf in the user's configuration directory; without that
// file a default map is built from the user's home (C:), the mounted removable, optical and
// network media (D: on), and the host root (Z:).

#include "expected.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace spindeck::platform {

// The numbers are those the drive-kind query reports.
enum class DriveKind { Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

struct Drive {
    char letter = 'C'; // upper case
    std::filesystem::path root;
    DriveKind kind = DriveKind::Fixed;
    std::string label;

    // "c: [label]" or "c:", as the drive lists show it.
    [[nodiscard]] std::string listText() const;
};

struct DriveConfError {
    int line = 0; // 1-based; 0 when the problem is not tied to a line
    std::string message;
};

// Parses drives.conf. `home` replaces a leading "~" in a path.
Expected<std::vector<Drive>, DriveConfError> parseDrivesConf(std::string_view text, const std::filesystem::path& home);

// Answers whether the block device with the given "major:minor" number is removable.
using RemovableProbe = std::function<bool(std::string_view majorMinor)>;

// The probe of the real system: /sys/dev/block/MAJ:MIN/removable, for a partition that of the
// device holding it. False for text that is not "digits:digits".
bool isRemovableBlockDevice(std::string_view majorMinor);

// The default map from the text of /proc/self/mountinfo.
std::vector<Drive> defaultDrives(const std::filesystem::path& home, std::string_view mountinfo,
                                 const RemovableProbe& isRemovable);

// The map this user gets: drives.conf when present, else the default map. A drives.conf that
// cannot be read or parsed yields the default map and a problem to report once.
struct LoadedDriveMap {
    std::vector<Drive> drives;
    std::optional<std::string> problem; // names the file, the line and the reason
};
LoadedDriveMap loadDriveMap();

// Where loadDriveMap() looks: $XDG_CONFIG_HOME/spindeck/drives.conf, else
// ~/.config/spindeck/drives.conf.
std::filesystem::path drivesConfPath();

class DriveMap final {
public:
    // Letters are taken in upper case; of two drives with one letter the first is kept.
    explicit DriveMap(std::vector<Drive> drives);

    [[nodiscard]] const std::vector<Drive>& drives() const { return m_drives; }
    // nullptr for a letter that is not mapped; the letter may be of either case.
    [[nodiscard]] const Drive* drive(char letter) const;
    // A drive is ready when its root exists and can be read.
    [[nodiscard]] bool isReady(char letter) const;
    // The DOS path of a host path on the drive whose root is its longest prefix, name by name
    // ("D:\GAMES\DEMO", "D:\" for the root); nullopt when no drive holds it, or when a name below
    // the root holds "\" or ":" and so cannot be written in a DOS path.
    [[nodiscard]] std::optional<std::string> dosPathOf(const std::filesystem::path& hostPath) const;

private:
    std::vector<Drive> m_drives; // sorted by letter
};

// The program directory as a DOS path, from the real path of the running executable.
std::optional<std::string> programDirectory(const DriveMap& map);

} // namespace spindeck::platform
