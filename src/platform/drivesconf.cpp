#include "dospath.h"
#include "drivemap.h"
#include "hostfile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace spindeck::platform {

namespace fs = std::filesystem;

namespace {

struct KindName {
    std::string_view name;
    DriveKind kind;
};
constexpr std::array<KindName, 5> kKindNames = {{
    {"removable", DriveKind::Removable},
    {"fixed", DriveKind::Fixed},
    {"remote", DriveKind::Remote},
    {"cdrom", DriveKind::CdRom},
    {"ramdisk", DriveKind::RamDisk},
}};

std::string_view trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The text in double quotes, for messages.
std::string inQuotes(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    out += text;
    out += '"';
    return out;
}

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

Unexpected<DriveConfError> failure(int line, std::string message) {
    return Unexpected{DriveConfError{line, std::move(message)}};
}

// A drive being read, with the lines that matter for its messages.
struct Section {
    Drive drive;
    int line = 0;
    bool hasPath = false;
    bool hasKind = false;
    bool hasLabel = false;
};

fs::path homeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    std::array<char, 4096> buffer{};
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return "/";
}

// The reason a line is wrong, or nothing.
using Problem = std::optional<std::string>;

Problem readSection(std::string_view line, int lineNumber, std::vector<Section>& sections) {
    if (line.back() != ']') {
        return "a section line must end with \"]\"";
    }
    const std::string_view name = trim(line.substr(1, line.size() - 2));
    const char letter = name.size() == 1 ? dospath::upperAscii(name.front()) : '\0';
    if (letter < 'A' || letter > 'Z') {
        return inQuotes(name) + " is not a drive letter (A to Z)";
    }
    const auto earlier =
        std::find_if(sections.begin(), sections.end(), [letter](const Section& s) { return s.drive.letter == letter; });
    if (earlier != sections.end()) {
        return std::string("drive ") + letter + ": is already defined on line " + std::to_string(earlier->line);
    }
    Section section;
    section.drive.letter = letter;
    section.line = lineNumber;
    sections.push_back(std::move(section));
    return std::nullopt;
}

Problem readPath(std::string_view value, const fs::path& home, Drive& drive) {
    std::string path(value);
    if (path == "~" || path.starts_with("~/")) {
        path = home.string() + path.substr(1);
    }
    if (path.empty() || path.front() != '/') {
        return "path must be an absolute directory (starting with / or ~/): " + inQuotes(value);
    }
    fs::path root = fs::path(path).lexically_normal();
    if (root.has_relative_path() && !root.has_filename()) {
        root = root.parent_path(); // no trailing "/"
    }
    drive.root = root;
    return std::nullopt;
}

Problem readKind(std::string_view value, Drive& drive) {
    const std::string kind = lowerAscii(value);
    const auto* const found =
        std::find_if(kKindNames.begin(), kKindNames.end(), [&kind](const KindName& k) { return k.name == kind; });
    if (found == kKindNames.end()) {
        return "unknown kind " + inQuotes(value) + " (removable, fixed, remote, cdrom or ramdisk)";
    }
    drive.kind = found->kind;
    return std::nullopt;
}

Problem readKey(std::string_view line, const fs::path& home, std::vector<Section>& sections) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return R"(expected "[letter]" or "key=value")";
    }
    const std::string key = lowerAscii(trim(line.substr(0, equals)));
    const std::string_view value = trim(line.substr(equals + 1));
    if (sections.empty()) {
        return inQuotes(key) + " comes before any [letter] section";
    }
    Section& section = sections.back();
    bool* seen = nullptr;
    if (key == "path") {
        seen = &section.hasPath;
    } else if (key == "kind") {
        seen = &section.hasKind;
    } else if (key == "label") {
        seen = &section.hasLabel;
    } else {
        return "unknown key " + inQuotes(key) + " (path, kind or label)";
    }
    if (*seen) {
        return key + " is given twice for this drive";
    }
    *seen = true;
    if (key == "path") {
        return readPath(value, home, section.drive);
    }
    if (key == "kind") {
        return readKind(value, section.drive);
    }
    section.drive.label = std::string(value);
    return std::nullopt;
}

} // namespace

Expected<std::vector<Drive>, DriveConfError> parseDrivesConf(std::string_view text, const fs::path& home) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3); // a byte order mark some editors write
    }
    std::vector<Section> sections;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        line = trim(line);
        if (line.empty() || line.front() == '#' || line.front() == ';') {
            continue;
        }
        Problem problem = line.front() == '[' ? readSection(line, lineNumber, sections) : readKey(line, home, sections);
        if (problem) {
            return failure(lineNumber, std::move(*problem));
        }
    }

    if (sections.empty()) {
        return failure(0, "no drives are defined");
    }
    std::vector<Drive> drives;
    for (Section& section : sections) {
        if (!section.hasPath) {
            return failure(section.line, std::string("drive ") + section.drive.letter + ": has no path");
        }
        drives.push_back(std::move(section.drive));
    }
    std::sort(drives.begin(), drives.end(), [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
    return drives;
}

fs::path drivesConfPath() {
    fs::path config;
    // The XDG base directory rules say a relative value is to be ignored.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
        config = xdg;
    } else {
        config = homeDirectory() / ".config";
    }
    return config / "spindeck" / "drives.conf";
}

LoadedDriveMap loadDriveMap() {
    const fs::path home = homeDirectory();
    auto defaults = [&home](std::optional<std::string> problem) {
        std::ifstream mounts("/proc/self/mountinfo");
        std::ostringstream mountinfo;
        mountinfo << mounts.rdbuf();
        return LoadedDriveMap{defaultDrives(home, mountinfo.str(), isRemovableBlockDevice), std::move(problem)};
    };

    const fs::path file = drivesConfPath();
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (status.type() == fs::file_type::not_found) {
        return defaults(std::nullopt);
    }
    if (status.type() == fs::file_type::directory) {
        return defaults(file.string() + ": is a directory, not a file");
    }
    std::string text;
    if (const int cause = readHostFile(file, text); cause != 0) {
        return defaults(file.string() + ": cannot be read: " + std::generic_category().message(cause));
    }
    auto parsed = parseDrivesConf(text, home);
    if (!parsed) {
        const DriveConfError& problem = parsed.error();
        std::string where = file.string();
        if (problem.line > 0) {
            where += ": line " + std::to_string(problem.line);
        }
        return defaults(where + ": " + problem.message);
    }
    return LoadedDriveMap{std::move(parsed).value(), std::nullopt};
}

} // namespace spindeck::platform
