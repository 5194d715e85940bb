#pragma once

// The program's file system in DOS terms. DOS paths ("C:\GAMES\DEMO", "..\SETUP", "d:readme.txt")
// are resolved through the drive map one component at a time: the exact name first, else a match
// without regard to case, else a short (8.3) alias. ".." never climbs above a drive's root, a path
// whose real location leaves its drive is refused, and a CD-ROM drive refuses every change. The
// current drive and one current directory per drive are kept here, not in the host process.
//
// Looking a name up without regard to case, or by its alias, needs the whole directory; a small
// index per directory (names and aliases in upper case) is kept and used again until the directory
// changes, so that a path through large directories costs a few stat calls once its directories have
// been read. The index is shared without locks: a DosFileSystem belongs to one thread.

#include "drivemap.h"
#include "expected.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace spindeck::platform {

enum class PathErrorCode {
    UnknownDrive,  // no such letter in the map
    NotReady,      // the drive's root is missing or unreadable
    FileNotFound,  // the last component does not exist
    PathNotFound,  // a component before the last does not exist or is not a directory
    OutsideDrive,  // the real location leaves the drive's root
    ReadOnly,      // a change on a CD-ROM drive
    InvalidName,   // a name the host or DOS refuses
    AlreadyExists, // creating what is already there
    NotADirectory,
    NotEmpty,
    AccessDenied,
    IoError,
};

struct PathError {
    PathErrorCode code = PathErrorCode::IoError;
    std::string path;   // the DOS path as given
    std::string reason; // host detail where there is one (strerror text)

    // One line for a user: "C:\GAMES\X: path not found".
    [[nodiscard]] std::string message() const;
};

template <class T> using PathResult = Expected<T, PathError>;

struct DiskFreeSpace {
    std::uint64_t sectorsPerCluster = 0;
    std::uint64_t bytesPerSector = 0;
    std::uint64_t freeClusters = 0;
    std::uint64_t totalClusters = 0;

    [[nodiscard]] std::uint64_t freeBytes() const { return sectorsPerCluster * bytesPerSector * freeClusters; }
};

// Free space in the terms of the drive query from what statvfs reports (fragment size, blocks
// available to the user, blocks in all): 512-byte sectors when the fragment size is a multiple of
// 512, else one sector of the fragment size per cluster.
[[nodiscard]] DiskFreeSpace diskFreeSpaceFromBlocks(std::uint64_t fragmentSize, std::uint64_t availableBlocks,
                                                    std::uint64_t totalBlocks);

struct DirEntry {
    std::string name;      // the host (long) name
    std::string shortName; // its 8.3 name among its siblings
    bool isDirectory = false;
    std::uint64_t size = 0;
};

class DosFileSystem final {
public:
    // Current drive and directories start as the drive map section of the design says: from the
    // host working directory when a drive holds it, otherwise from `startDirectory`.
    DosFileSystem(DriveMap map, std::string_view startDirectory);
    ~DosFileSystem();
    DosFileSystem(const DosFileSystem&) = delete;
    DosFileSystem& operator=(const DosFileSystem&) = delete;

    [[nodiscard]] const DriveMap& driveMap() const { return m_map; }

    // Current drive and directories.
    [[nodiscard]] char currentDrive() const { return m_currentDrive; }
    PathResult<Done> setCurrentDrive(char letter);
    [[nodiscard]] std::string currentDirectory(char letter) const; // "C:\GAMES", "C:\"
    PathResult<Done> changeDirectory(std::string_view dosPath);    // also moves that drive's directory only

    // The absolute, normalised form of a DOS path against the current drive and directories
    // ("C:\GAMES\DEMO"); ".." stops at the root. No file system access.
    [[nodiscard]] PathResult<std::string> fullPath(std::string_view dosPath) const;

    // The host path of an existing file or directory.
    PathResult<std::filesystem::path> resolve(std::string_view dosPath) const;
    // The host path at which to create or replace the last component: every component before it
    // must exist; the last is matched like the others when it exists and taken as written when
    // not. Fails with ReadOnly on a CD-ROM drive.
    PathResult<std::filesystem::path> resolveForWrite(std::string_view dosPath) const;

    // The directory search for one name without wildcards: the name found (host spelling), or
    // empty text. With `directoriesOnly` only a directory matches.
    [[nodiscard]] std::string findName(std::string_view dosDirectory, std::string_view name,
                                       bool directoriesOnly = false) const;
    // The entries of a directory in byte order of their names, without "." and "..". A symbolic link
    // shows what it leads to; one that leads nowhere is a file of size 0.
    PathResult<std::vector<DirEntry>> listDirectory(std::string_view dosDirectory) const;

    PathResult<std::string> readFile(std::string_view dosPath) const;
    // Written to a temporary file beside the target and renamed over it.
    PathResult<Done> writeFile(std::string_view dosPath, std::string_view bytes);
    PathResult<Done> removeFile(std::string_view dosPath);
    PathResult<Done> makeDirectory(std::string_view dosPath);
    PathResult<Done> removeDirectory(std::string_view dosPath);
    PathResult<Done> rename(std::string_view from, std::string_view to);

    // 1 when the text is not a drive root ("C:\"), 0 for a letter that is not mapped, 1 for a mapped
    // drive that is not ready, otherwise the drive's kind.
    [[nodiscard]] int GetDriveTypeA(std::string_view rootPath) const;
    PathResult<DiskFreeSpace> GetDiskFreeSpaceA(std::string_view rootPath) const;
    // The short (8.3) form of an existing path ("C:\PROGRA~1\MYGAME"); nullopt when there is none.
    [[nodiscard]] std::optional<std::string> GetShortPathNameA(std::string_view longPath) const;

private:
    class DirectoryIndex;
    struct Location; // a drive letter and the normalised components of a path on it
    struct Found;    // where a path leads on the host
    enum class Access { Read, Change, Create };

    [[nodiscard]] PathResult<Location> locate(std::string_view dosPath) const;
    [[nodiscard]] PathResult<Found> walk(const Location& location, std::string_view dosPath, Access access) const;
    [[nodiscard]] PathResult<Found> walk(std::string_view dosPath, Access access) const;

    DriveMap m_map;
    char m_currentDrive = 'C';
    std::vector<std::string> m_currentDirs; // 26 entries, "\GAMES" form, "\" for the root
    std::unique_ptr<DirectoryIndex> m_index;
};

} // namespace spindeck::platform
