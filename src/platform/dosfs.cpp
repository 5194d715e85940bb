#include "dosfs.h"

#include "dospath.h"
#include "hostfile.h"
#include "shortname.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <system_error>
#include <unistd.h>
#include <unordered_map>

namespace spindeck::platform {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kLetters = 26;
std::size_t letterIndex(char letter) {
    return static_cast<std::size_t>(dospath::upperAscii(letter) - 'A');
}
bool isLetter(char letter) {
    const char upper = dospath::upperAscii(letter);
    return upper >= 'A' && upper <= 'Z';
}

Unexpected<PathError> failure(PathErrorCode code, std::string_view path, std::string reason = {}) {
    return Unexpected{PathError{code, std::string(path), std::move(reason)}};
}

// The error a failed host call stands for. `notFound` says what a missing name means at that place.
Unexpected<PathError> hostFailure(int error, std::string_view path, PathErrorCode notFound) {
    PathErrorCode code = PathErrorCode::IoError;
    bool explained = false; // the code alone says it all
    switch (error) {
    case ENOENT:
        code = notFound;
        explained = true;
        break;
    case ENOTDIR:
        code = PathErrorCode::PathNotFound;
        explained = true;
        break;
    case EACCES:
        code = PathErrorCode::AccessDenied;
        explained = true;
        break;
    case EPERM:
    case EISDIR:
        code = PathErrorCode::AccessDenied;
        break;
    case EROFS:
        code = PathErrorCode::ReadOnly;
        break;
    case ENAMETOOLONG:
    case EINVAL:
        code = PathErrorCode::InvalidName;
        break;
    case EEXIST:
        code = PathErrorCode::AlreadyExists;
        explained = true;
        break;
    case ENOTEMPTY:
        code = PathErrorCode::NotEmpty;
        explained = true;
        break;
    case ELOOP:
        code = PathErrorCode::PathNotFound;
        break;
    default:
        break;
    }
    return failure(code, path, explained ? std::string() : std::generic_category().message(error));
}

// Where a directory is wanted, a missing last name is a missing path.
PathError asDirectoryError(PathError error) {
    if (error.code == PathErrorCode::FileNotFound) {
        error.code = PathErrorCode::PathNotFound;
    }
    return error;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::optional<fs::path> realPath(const fs::path& path) {
    std::array<char, PATH_MAX> buffer{};
    if (::realpath(path.c_str(), buffer.data()) == nullptr) {
        return std::nullopt;
    }
    return fs::path(buffer.data());
}

// Whether `path` is `root` or lies below it, name by name ("/home/ab" is not below "/home/a").
bool isWithin(const std::string& path, const std::string& root) {
    if (root == "/") {
        return true;
    }
    return path == root || (path.size() > root.size() && path.starts_with(root) && path[root.size()] == '/');
}

enum class LinkEnd { OnTheDrive, OffTheDrive, Nowhere, RootGone };

// Follows a symbolic link met on the way; where it really leads must stay on the drive. `info`
// becomes the stat of what it leads to. `realRoot` is the real path of the drive's root, read on
// first need.
LinkEnd followLink(const fs::path& link, const fs::path& root, std::optional<std::string>& realRoot,
                   struct stat& info) {
    const std::optional<fs::path> real = realPath(link);
    if (!real) {
        return LinkEnd::Nowhere;
    }
    if (!realRoot) {
        const std::optional<fs::path> rootReal = realPath(root);
        if (!rootReal) {
            return LinkEnd::RootGone;
        }
        realRoot = rootReal->native();
    }
    if (!isWithin(real->native(), *realRoot)) {
        return LinkEnd::OffTheDrive;
    }
    return ::stat(link.c_str(), &info) == 0 ? LinkEnd::OnTheDrive : LinkEnd::Nowhere;
}

// What a symbolic link that does not end on the drive stands for; nothing for one that does.
std::optional<PathError> refusal(LinkEnd end, std::string_view dosPath, bool changesTheLastName,
                                 PathErrorCode missing) {
    switch (end) {
    case LinkEnd::OnTheDrive:
        return std::nullopt;
    case LinkEnd::OffTheDrive:
        return PathError{PathErrorCode::OutsideDrive, std::string(dosPath), {}};
    case LinkEnd::RootGone:
        return PathError{PathErrorCode::NotReady, std::string(dosPath), {}};
    case LinkEnd::Nowhere:
        break;
    }
    // Writing through a link that leads nowhere could create its target anywhere.
    if (changesTheLastName) {
        return PathError{PathErrorCode::AccessDenied, std::string(dosPath), "a symbolic link that leads nowhere"};
    }
    return PathError{missing, std::string(dosPath), {}};
}

// NotReady for a drive whose root cannot be read, ReadOnly for a change on a CD-ROM drive; nothing
// when the drive may be used so. `rootInfo` receives the stat of the root.
std::optional<PathErrorCode> driveRefusal(const Drive& drive, bool change, struct stat& rootInfo) {
    if (::stat(drive.root.c_str(), &rootInfo) != 0 || !S_ISDIR(rootInfo.st_mode) ||
        ::access(drive.root.c_str(), R_OK | X_OK) != 0) {
        return PathErrorCode::NotReady;
    }
    if (change && drive.kind == DriveKind::CdRom) {
        return PathErrorCode::ReadOnly;
    }
    return std::nullopt;
}

// The drive-root text "X:\" (or "X:/") gives its letter.
std::optional<char> rootLetter(std::string_view text) {
    if (text.size() == 3 && isLetter(text[0]) && text[1] == ':' && dospath::isSeparator(text[2])) {
        return dospath::upperAscii(text[0]);
    }
    return std::nullopt;
}

// Writes `bytes` to a new file beside `target` and renames it over `target`, so that the old
// content stays whole until the new one is complete. `mode` keeps the permissions of a file being
// replaced. 0, or the errno of the failure.
int writeReplacing(const fs::path& target, std::string_view bytes, std::optional<mode_t> mode) {
    static unsigned counter = 0;
    const fs::path directory = target.parent_path();
    fs::path temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = directory / (".spindeck-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp");
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return errno;
        }
    }
    if (fd < 0) {
        return EEXIST;
    }
    int error = 0;
    while (!bytes.empty() && error == 0) {
        const ssize_t wrote = ::write(fd, bytes.data(), bytes.size());
        if (wrote < 0) {
            error = errno == EINTR ? 0 : errno;
            continue;
        }
        bytes.remove_prefix(static_cast<std::size_t>(wrote));
    }
    if (error == 0 && mode && ::fchmod(fd, *mode) != 0) {
        error = errno;
    }
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
    }
    return error;
}

bool earlier(const timespec& a, const timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

} // namespace

std::string PathError::message() const {
    std::string what;
    switch (code) {
    case PathErrorCode::UnknownDrive:
        what = "no such drive";
        break;
    case PathErrorCode::NotReady:
        what = "drive not ready";
        break;
    case PathErrorCode::FileNotFound:
        what = "file not found";
        break;
    case PathErrorCode::PathNotFound:
        what = "path not found";
        break;
    case PathErrorCode::OutsideDrive:
        what = "outside the drive";
        break;
    case PathErrorCode::ReadOnly:
        // With a reason the host refused the change itself (a read-only mount), not a CD-ROM drive.
        what = reason.empty() ? "the drive is read-only (CD-ROM)" : "the drive is read-only";
        break;
    case PathErrorCode::InvalidName:
        what = "invalid name";
        break;
    case PathErrorCode::AlreadyExists:
        what = "already exists";
        break;
    case PathErrorCode::NotADirectory:
        what = "not a directory";
        break;
    case PathErrorCode::NotEmpty:
        what = "directory not empty";
        break;
    case PathErrorCode::AccessDenied:
        what = "access denied";
        break;
    case PathErrorCode::IoError:
        what = "read or write failed";
        break;
    }
    std::string text = path + ": " + what;
    if (!reason.empty()) {
        text += ": " + reason;
    }
    return text;
}

DiskFreeSpace diskFreeSpaceFromBlocks(std::uint64_t fragmentSize, std::uint64_t availableBlocks,
                                      std::uint64_t totalBlocks) {
    constexpr std::uint64_t kSector = 512;
    DiskFreeSpace space;
    if (fragmentSize % kSector == 0) {
        space.bytesPerSector = kSector;
        space.sectorsPerCluster = fragmentSize / kSector;
    } else {
        space.bytesPerSector = fragmentSize;
        space.sectorsPerCluster = 1;
    }
    space.freeClusters = availableBlocks;
    space.totalClusters = totalBlocks;
    return space;
}

class DosFileSystem::DirectoryIndex final {
public:
    struct Listing {
        std::vector<std::string> names;      // in byte order
        std::vector<std::string> shortNames; // beside the names
        std::unordered_map<std::string, std::uint32_t> byUpperName;
        std::unordered_map<std::string, std::uint32_t> byUpperShortName;

        // The host name that `name` stands for without regard to case, else as an alias.
        [[nodiscard]] const std::string* match(std::string_view name) const {
            const std::string upper = dospath::upperAscii(name);
            if (const auto found = byUpperName.find(upper); found != byUpperName.end()) {
                return &names[found->second];
            }
            if (const auto found = byUpperShortName.find(upper); found != byUpperShortName.end()) {
                return &names[found->second];
            }
            return nullptr;
        }
        [[nodiscard]] const std::string* shortNameOf(std::string_view name) const {
            const auto found = std::lower_bound(names.begin(), names.end(), name);
            if (found == names.end() || *found != name) {
                return nullptr;
            }
            return &shortNames[static_cast<std::size_t>(found - names.begin())];
        }
    };

    // The listing of a directory, read again only when the directory has changed since; nullptr with
    // errno set when it cannot be read. `info` is the directory's stat, taken just before.
    const Listing* listing(const fs::path& directory, const struct stat& info) {
        if (const auto cached = m_cache.find(directory.native()); cached != m_cache.end()) {
            if (cached->second.isCurrent(info)) {
                return &cached->second.listing;
            }
            m_entries -= cached->second.listing.names.size();
            m_cache.erase(cached);
        }
        Entry fresh;
        if (!read(directory, info, fresh)) {
            return nullptr;
        }
        // A bound on memory: forget every directory when too many names are kept.
        if (m_cache.size() >= kMaxDirectories || m_entries + fresh.listing.names.size() > kMaxNames) {
            m_cache.clear();
            m_entries = 0;
        }
        m_entries += fresh.listing.names.size();
        return &m_cache.insert_or_assign(directory.native(), std::move(fresh)).first->second.listing;
    }

    // The host name a DOS name stands for in a directory (exact, else without regard to case, else
    // by alias), with its lstat; nullopt when there is none.
    std::optional<std::string> find(const fs::path& directory, const struct stat& directoryInfo, std::string_view name,
                                    struct stat& info) {
        if (::lstat((directory / name).c_str(), &info) == 0) {
            return std::string(name);
        }
        const Listing* names = listing(directory, directoryInfo);
        const std::string* match = names == nullptr ? nullptr : names->match(name);
        if (match == nullptr || ::lstat((directory / *match).c_str(), &info) != 0) {
            return std::nullopt;
        }
        return *match;
    }

private:
    static constexpr std::size_t kMaxDirectories = 1024;
    static constexpr std::size_t kMaxNames = 1U << 20U;
    // File systems keep time coarsely (2 s on FAT); a directory changed this shortly before it was
    // read may change again without a new time stamp, so such a listing is not used again.
    static constexpr time_t kTimeStampSlack = 3;

    struct Entry {
        dev_t device = 0;
        ino_t inode = 0;
        timespec modified{};
        timespec changed{};
        bool recent = false;
        Listing listing;

        [[nodiscard]] bool isCurrent(const struct stat& info) const {
            return !recent && info.st_dev == device && info.st_ino == inode && info.st_mtim.tv_sec == modified.tv_sec &&
                   info.st_mtim.tv_nsec == modified.tv_nsec && info.st_ctim.tv_sec == changed.tv_sec &&
                   info.st_ctim.tv_nsec == changed.tv_nsec;
        }
    };

    static bool read(const fs::path& directory, const struct stat& info, Entry& entry) {
        timespec started{};
        ::clock_gettime(CLOCK_REALTIME, &started);
        DIR* stream = ::opendir(directory.c_str());
        if (stream == nullptr) {
            return false;
        }
        std::vector<std::string>& names = entry.listing.names;
        errno = 0;
        while (const dirent* item = ::readdir(stream)) {
            const std::string_view name = item->d_name;
            if (name != "." && name != "..") {
                names.emplace_back(name);
            }
            errno = 0;
        }
        const int error = errno;
        ::closedir(stream);
        if (error != 0) {
            errno = error;
            return false;
        }
        std::sort(names.begin(), names.end());
        entry.listing.shortNames = shortNames(names);
        entry.listing.byUpperName.reserve(names.size());
        entry.listing.byUpperShortName.reserve(names.size());
        for (std::uint32_t i = 0; i < names.size(); ++i) {
            // Of names that differ only in case the first in byte order wins.
            entry.listing.byUpperName.emplace(dospath::upperAscii(names[i]), i);
            entry.listing.byUpperShortName.emplace(dospath::upperAscii(entry.listing.shortNames[i]), i);
        }
        entry.device = info.st_dev;
        entry.inode = info.st_ino;
        entry.modified = info.st_mtim;
        entry.changed = info.st_ctim;
        timespec latest = earlier(info.st_mtim, info.st_ctim) ? info.st_ctim : info.st_mtim;
        latest.tv_sec += kTimeStampSlack;
        entry.recent = earlier(started, latest);
        return true;
    }

    std::unordered_map<std::string, Entry> m_cache; // by host path of the directory
    std::size_t m_entries = 0;
};

struct DosFileSystem::Location {
    char letter = 'C';
    std::vector<std::string> components;
};

struct DosFileSystem::Found {
    fs::path host;
    bool exists = false;
    struct stat info {};                // of what the path leads to (symbolic links followed)
    std::vector<std::string> hostNames; // the host spelling of each component
};

DosFileSystem::DosFileSystem(DriveMap map, std::string_view startDirectory)
    : m_map(std::move(map)), m_currentDirs(kLetters, "\\"), m_index(std::make_unique<DirectoryIndex>()) {
    if (m_map.drive(m_currentDrive) == nullptr && !m_map.drives().empty()) {
        m_currentDrive = m_map.drives().front().letter;
    }
    std::error_code error;
    const fs::path working = fs::current_path(error);
    std::optional<std::string> start = error ? std::nullopt : m_map.dosPathOf(working);
    if (!start) {
        start = std::string(startDirectory);
    }
    if (const auto parsed = dospath::parse(*start);
        parsed && parsed->drive != 0 && m_map.drive(parsed->drive) != nullptr) {
        std::vector<std::string> directory;
        dospath::apply(directory, parsed->components);
        m_currentDrive = parsed->drive;
        m_currentDirs[letterIndex(parsed->drive)] = dospath::directoryText(directory);
    }
}

DosFileSystem::~DosFileSystem() = default;

PathResult<DosFileSystem::Location> DosFileSystem::locate(std::string_view dosPath) const {
    const auto parsed = dospath::parse(dosPath);
    if (!parsed) {
        return failure(PathErrorCode::InvalidName, dosPath);
    }
    Location location;
    location.letter = parsed->drive != 0 ? parsed->drive : m_currentDrive;
    if (m_map.drive(location.letter) == nullptr) {
        return failure(PathErrorCode::UnknownDrive, dosPath);
    }
    if (!parsed->absolute) {
        const auto current = dospath::parse(m_currentDirs[letterIndex(location.letter)]);
        dospath::apply(location.components, current->components);
    }
    dospath::apply(location.components, parsed->components);
    return location;
}

PathResult<DosFileSystem::Found> DosFileSystem::walk(const Location& location, std::string_view dosPath,
                                                     Access access) const {
    const Drive& drive = *m_map.drive(location.letter);
    Found found;
    found.host = drive.root;
    found.exists = true;
    if (const auto refused = driveRefusal(drive, access != Access::Read, found.info)) {
        return failure(*refused, dosPath);
    }
    std::optional<std::string> realRoot; // read when a symbolic link is met

    for (std::size_t i = 0; i < location.components.size(); ++i) {
        const std::string& name = location.components[i];
        const bool last = i + 1 == location.components.size();
        const PathErrorCode missing = last ? PathErrorCode::FileNotFound : PathErrorCode::PathNotFound;
        struct stat info {};
        std::optional<std::string> hostName = m_index->find(found.host, found.info, name, info);
        if (!hostName) {
            if (last && access == Access::Create) {
                if (!dospath::isValidName(name) || name.size() > NAME_MAX) {
                    return failure(PathErrorCode::InvalidName, dosPath);
                }
                found.host /= name;
                found.exists = false;
                found.info = {};
                found.hostNames.push_back(name);
                return found;
            }
            return failure(missing, dosPath);
        }
        fs::path child = found.host / *hostName;
        if (S_ISLNK(info.st_mode)) {
            const LinkEnd end = followLink(child, drive.root, realRoot, info);
            if (auto refused = refusal(end, dosPath, last && access != Access::Read, missing)) {
                return Unexpected{std::move(*refused)};
            }
        }
        if (!last && !S_ISDIR(info.st_mode)) {
            return failure(PathErrorCode::PathNotFound, dosPath);
        }
        found.host = std::move(child);
        found.info = info;
        found.hostNames.push_back(std::move(*hostName));
    }
    return found;
}

PathResult<DosFileSystem::Found> DosFileSystem::walk(std::string_view dosPath, Access access) const {
    auto location = locate(dosPath);
    if (!location) {
        return Unexpected{location.error()};
    }
    return walk(*location, dosPath, access);
}

PathResult<Done> DosFileSystem::setCurrentDrive(char letter) {
    const std::string text{dospath::upperAscii(letter), ':'};
    if (!isLetter(letter) || m_map.drive(letter) == nullptr) {
        return failure(PathErrorCode::UnknownDrive, text);
    }
    if (!m_map.isReady(letter)) {
        return failure(PathErrorCode::NotReady, text);
    }
    m_currentDrive = dospath::upperAscii(letter);
    // A directory that is gone since (another disc, a folder removed) leaves the drive at its root,
    // as DOS does after a disc change.
    const auto current = walk(currentDirectory(letter), Access::Read);
    if (!current || !S_ISDIR(current->info.st_mode)) {
        m_currentDirs[letterIndex(letter)] = "\\";
    }
    return Done{};
}

std::string DosFileSystem::currentDirectory(char letter) const {
    if (!isLetter(letter)) {
        return {};
    }
    return std::string{dospath::upperAscii(letter), ':'} + m_currentDirs[letterIndex(letter)];
}

PathResult<Done> DosFileSystem::changeDirectory(std::string_view dosPath) {
    auto location = locate(dosPath);
    if (!location) {
        return Unexpected{location.error()};
    }
    auto found = walk(*location, dosPath, Access::Read);
    if (!found) {
        return Unexpected{asDirectoryError(found.error())};
    }
    if (!S_ISDIR(found->info.st_mode)) {
        return failure(PathErrorCode::NotADirectory, dosPath);
    }
    m_currentDirs[letterIndex(location->letter)] = dospath::directoryText(location->components);
    return Done{};
}

PathResult<std::string> DosFileSystem::fullPath(std::string_view dosPath) const {
    auto location = locate(dosPath);
    if (!location) {
        return Unexpected{location.error()};
    }
    return dospath::join(location->letter, location->components);
}

PathResult<fs::path> DosFileSystem::resolve(std::string_view dosPath) const {
    auto found = walk(dosPath, Access::Read);
    if (!found) {
        return Unexpected{found.error()};
    }
    return std::move(found->host);
}

PathResult<fs::path> DosFileSystem::resolveForWrite(std::string_view dosPath) const {
    auto found = walk(dosPath, Access::Create);
    if (!found) {
        return Unexpected{found.error()};
    }
    return std::move(found->host);
}

std::string DosFileSystem::findName(std::string_view dosDirectory, std::string_view name, bool directoriesOnly) const {
    if (name.empty() || name == "." || name == ".." || name.find_first_of("*?\\/:") != std::string_view::npos ||
        name.find('\0') != std::string_view::npos) {
        return {};
    }
    auto location = locate(dosDirectory);
    if (!location) {
        return {};
    }
    location->components.emplace_back(name);
    auto found = walk(*location, dosDirectory, Access::Read);
    if (!found || (directoriesOnly && !S_ISDIR(found->info.st_mode))) {
        return {};
    }
    return found->hostNames.back();
}

PathResult<std::vector<DirEntry>> DosFileSystem::listDirectory(std::string_view dosDirectory) const {
    auto found = walk(dosDirectory, Access::Read);
    if (!found) {
        return Unexpected{asDirectoryError(found.error())};
    }
    if (!S_ISDIR(found->info.st_mode)) {
        return failure(PathErrorCode::NotADirectory, dosDirectory);
    }
    const DirectoryIndex::Listing* listing = m_index->listing(found->host, found->info);
    if (listing == nullptr) {
        return hostFailure(errno, dosDirectory, PathErrorCode::PathNotFound);
    }
    std::vector<DirEntry> entries;
    entries.reserve(listing->names.size());
    for (std::size_t i = 0; i < listing->names.size(); ++i) {
        DirEntry entry{listing->names[i], listing->shortNames[i]};
        struct stat info {};
        const fs::path host = found->host / entry.name;
        if (::stat(host.c_str(), &info) == 0 || ::lstat(host.c_str(), &info) == 0) {
            entry.isDirectory = S_ISDIR(info.st_mode);
            entry.size = entry.isDirectory || S_ISLNK(info.st_mode) ? 0 : static_cast<std::uint64_t>(info.st_size);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

PathResult<std::string> DosFileSystem::readFile(std::string_view dosPath) const {
    auto found = walk(dosPath, Access::Read);
    if (!found) {
        return Unexpected{found.error()};
    }
    if (S_ISDIR(found->info.st_mode)) {
        return failure(PathErrorCode::AccessDenied, dosPath, "it is a directory");
    }
    std::string bytes;
    if (const int error = readHostFile(found->host, bytes); error != 0) {
        return hostFailure(error, dosPath, PathErrorCode::FileNotFound);
    }
    return bytes;
}

PathResult<Done> DosFileSystem::writeFile(std::string_view dosPath, std::string_view bytes) {
    auto found = walk(dosPath, Access::Create);
    if (!found) {
        return Unexpected{found.error()};
    }
    if (found->exists && S_ISDIR(found->info.st_mode)) {
        return failure(PathErrorCode::AccessDenied, dosPath, "it is a directory");
    }
    fs::path target = found->host;
    std::optional<mode_t> mode;
    if (found->exists) {
        // Through a symbolic link the file it leads to is replaced, and the link stays.
        if (auto real = realPath(target)) {
            target = std::move(*real);
        }
        mode = found->info.st_mode & 07777U;
    }
    if (const int error = writeReplacing(target, bytes, mode); error != 0) {
        return hostFailure(error, dosPath, PathErrorCode::PathNotFound);
    }
    return Done{};
}

PathResult<Done> DosFileSystem::removeFile(std::string_view dosPath) {
    auto found = walk(dosPath, Access::Change);
    if (!found) {
        return Unexpected{found.error()};
    }
    if (S_ISDIR(found->info.st_mode)) {
        return failure(PathErrorCode::AccessDenied, dosPath, "it is a directory");
    }
    if (::unlink(found->host.c_str()) != 0) {
        return hostFailure(errno, dosPath, PathErrorCode::FileNotFound);
    }
    return Done{};
}

PathResult<Done> DosFileSystem::makeDirectory(std::string_view dosPath) {
    auto found = walk(dosPath, Access::Create);
    if (!found) {
        return Unexpected{found.error()};
    }
    if (found->exists) {
        return failure(PathErrorCode::AlreadyExists, dosPath,
                       S_ISDIR(found->info.st_mode) ? std::string() : "a file of that name exists");
    }
    if (::mkdir(found->host.c_str(), 0777) != 0) {
        return hostFailure(errno, dosPath, PathErrorCode::PathNotFound);
    }
    return Done{};
}

PathResult<Done> DosFileSystem::removeDirectory(std::string_view dosPath) {
    auto location = locate(dosPath);
    if (!location) {
        return Unexpected{location.error()};
    }
    auto found = walk(*location, dosPath, Access::Change);
    if (!found) {
        return Unexpected{found.error()};
    }
    if (location->components.empty()) {
        return failure(PathErrorCode::AccessDenied, dosPath, "the root of a drive cannot be removed");
    }
    struct stat own {};
    if (::lstat(found->host.c_str(), &own) != 0 || !S_ISDIR(own.st_mode)) {
        return failure(PathErrorCode::NotADirectory, dosPath);
    }
    // DOS refuses to remove the current directory of a drive.
    const auto current = walk(currentDirectory(location->letter), Access::Read);
    if (current && sameFile(current->info, own)) {
        return failure(PathErrorCode::AccessDenied, dosPath, "it is the current directory");
    }
    if (::rmdir(found->host.c_str()) != 0) {
        const int error = errno;
        return hostFailure(error == EEXIST ? ENOTEMPTY : error, dosPath, PathErrorCode::PathNotFound);
    }
    return Done{};
}

PathResult<Done> DosFileSystem::rename(std::string_view from, std::string_view to) {
    auto sourceLocation = locate(from);
    if (!sourceLocation) {
        return Unexpected{sourceLocation.error()};
    }
    auto source = walk(*sourceLocation, from, Access::Change);
    if (!source) {
        return Unexpected{source.error()};
    }
    if (sourceLocation->components.empty()) {
        return failure(PathErrorCode::AccessDenied, from, "the root of a drive cannot be renamed");
    }
    auto targetLocation = locate(to);
    if (!targetLocation) {
        return Unexpected{targetLocation.error()};
    }
    auto target = walk(*targetLocation, to, Access::Create);
    if (!target) {
        return Unexpected{target.error()};
    }
    if (targetLocation->components.empty()) {
        return failure(PathErrorCode::AlreadyExists, to);
    }
    fs::path destination = target->host;
    if (target->exists) {
        // The same file under another spelling: a change of case ("REN readme.txt README.TXT").
        const bool sameEntry =
            sameFile(source->info, target->info) && source->host.parent_path() == target->host.parent_path();
        if (!sameEntry) {
            return failure(PathErrorCode::AlreadyExists, to);
        }
        const std::string& written = targetLocation->components.back();
        if (!dospath::isValidName(written)) {
            return failure(PathErrorCode::InvalidName, to);
        }
        if (written == source->hostNames.back()) {
            return Done{};
        }
        destination = target->host.parent_path() / written;
    }
    if (::rename(source->host.c_str(), destination.c_str()) != 0) {
        return hostFailure(errno, from, PathErrorCode::FileNotFound);
    }
    return Done{};
}

int DosFileSystem::GetDriveTypeA(std::string_view rootPath) const {
    const std::optional<char> letter = rootLetter(rootPath);
    if (!letter) {
        return 1;
    }
    const Drive* drive = m_map.drive(*letter);
    if (drive == nullptr) {
        return 0;
    }
    if (!m_map.isReady(*letter)) {
        return 1;
    }
    return static_cast<int>(drive->kind);
}

PathResult<DiskFreeSpace> DosFileSystem::GetDiskFreeSpaceA(std::string_view rootPath) const {
    const std::optional<char> letter = rootLetter(rootPath);
    if (!letter) {
        return failure(PathErrorCode::InvalidName, rootPath);
    }
    const Drive* drive = m_map.drive(*letter);
    if (drive == nullptr) {
        return failure(PathErrorCode::UnknownDrive, rootPath);
    }
    if (!m_map.isReady(*letter)) {
        return failure(PathErrorCode::NotReady, rootPath);
    }
    struct statvfs info {};
    if (::statvfs(drive->root.c_str(), &info) != 0) {
        return hostFailure(errno, rootPath, PathErrorCode::PathNotFound);
    }
    const std::uint64_t fragment = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
    return diskFreeSpaceFromBlocks(fragment, info.f_bavail, info.f_blocks);
}

std::optional<std::string> DosFileSystem::GetShortPathNameA(std::string_view longPath) const {
    auto location = locate(longPath);
    if (!location) {
        return std::nullopt;
    }
    auto found = walk(*location, longPath, Access::Read);
    if (!found) {
        return std::nullopt;
    }
    std::vector<std::string> shortForm;
    fs::path directory = m_map.drive(location->letter)->root;
    for (const std::string& name : found->hostNames) {
        if (isShortName(name)) {
            shortForm.push_back(name);
        } else {
            // An alias depends on the siblings, so the directory is read (once; the index keeps it).
            struct stat info {};
            const DirectoryIndex::Listing* listing =
                ::stat(directory.c_str(), &info) == 0 ? m_index->listing(directory, info) : nullptr;
            const std::string* alias = listing == nullptr ? nullptr : listing->shortNameOf(name);
            if (alias == nullptr) {
                return std::nullopt;
            }
            shortForm.push_back(*alias);
        }
        directory /= name;
    }
    return dospath::join(location->letter, shortForm);
}

} // namespace spindeck::platform
