#include "drivemap.h"

#include "dospath.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace spindeck::platform {

namespace fs = std::filesystem;

namespace {

constexpr char kFirstMediaLetter = 'D';
constexpr char kLastMediaLetter = 'Y'; // Z: is the host root

// The names of a path below its root, without empty ones ("/home/a/" gives "home", "a").
std::vector<std::string> namesOf(const fs::path& path) {
    std::vector<std::string> names;
    for (const fs::path& part : path.relative_path().lexically_normal()) {
        if (!part.empty() && part != ".") {
            names.push_back(part.string());
        }
    }
    return names;
}

bool startsWith(const std::vector<std::string>& names, const std::vector<std::string>& prefix) {
    return prefix.size() <= names.size() && std::equal(prefix.begin(), prefix.end(), names.begin());
}

// Mount points and other fields of /proc/self/mountinfo write space, tab, newline and backslash as
// three octal digits ("\040").
std::string decodeMountField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string_view digits = field.substr(i + 1, 3);
            if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
                const int value = (digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0');
                out += static_cast<char>(value & 0xFF);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        if (end > start) {
            fields.push_back(line.substr(start, end - start));
        }
        start = end + 1;
    }
    return fields;
}

bool isOpticalFileSystem(std::string_view type) {
    return type == "iso9660" || type == "udf";
}

bool isNetworkFileSystem(std::string_view type) {
    static const std::set<std::string_view> network = {
        "nfs",   "nfs4",        "cifs",      "smb3",           "smbfs",       "ncpfs",       "9p",
        "afs",   "ceph",        "glusterfs", "lustre",         "davfs",       "fuse.davfs2", "fuse.sshfs",
        "sshfs", "fuse.rclone", "fuse.s3fs", "fuse.glusterfs", "fuse.cephfs", "coda",        "ocfs2",
    };
    return network.contains(type);
}

bool isMediaMountPoint(std::string_view mountPoint) {
    static constexpr std::array<std::string_view, 3> bases = {"/media", "/run/media", "/mnt"};
    return std::any_of(bases.begin(), bases.end(), [mountPoint](std::string_view base) {
        return mountPoint == base ||
               (mountPoint.starts_with(base) && mountPoint.size() > base.size() && mountPoint[base.size()] == '/');
    });
}

bool isMajorMinor(std::string_view text) {
    const std::size_t colon = text.find(':');
    auto digits = [](std::string_view part) {
        return !part.empty() && part.size() <= 10 &&
               std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return colon != std::string_view::npos && digits(text.substr(0, colon)) && digits(text.substr(colon + 1));
}

bool readsOne(const fs::path& file) {
    std::ifstream in(file);
    std::string value;
    return in >> value && value == "1";
}

} // namespace

std::string Drive::listText() const {
    std::string text{static_cast<char>(dospath::upperAscii(letter) - 'A' + 'a'), ':'};
    if (!label.empty()) {
        text += " [" + label + "]";
    }
    return text;
}

bool isRemovableBlockDevice(std::string_view majorMinor) {
    if (!isMajorMinor(majorMinor)) {
        return false;
    }
    const fs::path device = fs::path("/sys/dev/block") / std::string(majorMinor);
    std::error_code error;
    // A partition has no "removable" of its own; the device holding it is one level up.
    if (fs::exists(device / "partition", error)) {
        return readsOne(device / ".." / "removable");
    }
    return readsOne(device / "removable");
}

std::vector<Drive> defaultDrives(const fs::path& home, std::string_view mountinfo, const RemovableProbe& isRemovable) {
    std::vector<Drive> drives;
    drives.push_back(Drive{'C', home, DriveKind::Fixed, {}});

    std::vector<Drive> media;
    std::size_t start = 0;
    while (start < mountinfo.size()) {
        const std::size_t end = std::min(mountinfo.find('\n', start), mountinfo.size());
        const std::vector<std::string_view> fields = splitFields(mountinfo.substr(start, end - start));
        start = end + 1;
        // ID PARENT MAJ:MIN ROOT MOUNTPOINT OPTIONS [OPTIONAL...] - TYPE SOURCE SUPEROPTIONS
        const auto separator = std::find(fields.begin(), fields.end(), std::string_view("-"));
        if (fields.size() < 6 || separator == fields.end() || separator - fields.begin() < 6 ||
            separator + 1 == fields.end()) {
            continue;
        }
        const std::string mountPoint = decodeMountField(fields[4]);
        const std::string_view type = *(separator + 1);
        const std::string_view majorMinor = fields[2];
        if (!isMediaMountPoint(mountPoint)) {
            continue;
        }
        std::optional<DriveKind> kind;
        if (isOpticalFileSystem(type)) {
            kind = DriveKind::CdRom;
        } else if (isNetworkFileSystem(type)) {
            kind = DriveKind::Remote;
        } else if (isMajorMinor(majorMinor) && !majorMinor.starts_with("0:") && isRemovable &&
                   isRemovable(majorMinor)) {
            kind = DriveKind::Removable;
        }
        if (!kind) {
            continue;
        }
        // A later mount on the same point hides the earlier one; the letter stays.
        const auto same = std::find_if(media.begin(), media.end(),
                                       [&mountPoint](const Drive& drive) { return drive.root == mountPoint; });
        if (same != media.end()) {
            same->kind = *kind;
            continue;
        }
        if (media.size() > static_cast<std::size_t>(kLastMediaLetter - kFirstMediaLetter)) {
            continue; // no letter left
        }
        const fs::path root(mountPoint);
        media.push_back(Drive{static_cast<char>(kFirstMediaLetter + static_cast<char>(media.size())), root, *kind,
                              root.filename().string()});
    }
    drives.insert(drives.end(), media.begin(), media.end());
    drives.push_back(Drive{'Z', "/", DriveKind::Fixed, {}});
    return drives;
}

DriveMap::DriveMap(std::vector<Drive> drives) {
    for (Drive& drive : drives) {
        drive.letter = dospath::upperAscii(drive.letter);
        if (drive.letter >= 'A' && drive.letter <= 'Z' && this->drive(drive.letter) == nullptr) {
            m_drives.push_back(std::move(drive));
        }
    }
    std::sort(m_drives.begin(), m_drives.end(), [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
}

const Drive* DriveMap::drive(char letter) const {
    letter = dospath::upperAscii(letter);
    const auto found =
        std::find_if(m_drives.begin(), m_drives.end(), [letter](const Drive& drive) { return drive.letter == letter; });
    return found == m_drives.end() ? nullptr : &*found;
}

bool DriveMap::isReady(char letter) const {
    const Drive* found = drive(letter);
    if (found == nullptr) {
        return false;
    }
    struct stat info {};
    return ::stat(found->root.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ::access(found->root.c_str(), R_OK | X_OK) == 0;
}

std::optional<std::string> DriveMap::dosPathOf(const fs::path& hostPath) const {
    if (!hostPath.is_absolute()) {
        return std::nullopt;
    }
    const std::vector<std::string> names = namesOf(hostPath);
    const Drive* best = nullptr;
    std::size_t bestDepth = 0;
    for (const Drive& drive : m_drives) {
        // The root as written and, when it leads through a symbolic link, its real location.
        std::vector<fs::path> roots = {drive.root};
        std::error_code error;
        const fs::path real = fs::canonical(drive.root, error);
        if (!error && real != drive.root) {
            roots.push_back(real);
        }
        for (const fs::path& root : roots) {
            const std::vector<std::string> rootNames = namesOf(root);
            if (root.is_absolute() && startsWith(names, rootNames) &&
                (best == nullptr || rootNames.size() > bestDepth)) {
                best = &drive;
                bestDepth = rootNames.size();
            }
        }
    }
    if (best == nullptr) {
        return std::nullopt;
    }
    const std::vector<std::string> rest(names.begin() + static_cast<std::ptrdiff_t>(bestDepth), names.end());
    // A host name holding "\" or ":" cannot be written in a DOS path.
    if (std::any_of(rest.begin(), rest.end(),
                    [](const std::string& name) { return name.find_first_of("\\:") != std::string::npos; })) {
        return std::nullopt;
    }
    return dospath::join(best->letter, rest);
}

std::optional<std::string> programDirectory(const DriveMap& map) {
    std::error_code error;
    const fs::path executable = fs::canonical("/proc/self/exe", error);
    if (error) {
        return std::nullopt;
    }
    return map.dosPathOf(executable.parent_path());
}

} // namespace spindeck::platform
