#pragma once

// Placing the entries of an archive on the DOS drives. Whatever reads the archive (libarchive, or
// the files the arj program left in a private directory) hands each entry here: its stored name
// is checked (no "..", no absolute name, no drive, no link or device), matched against the file
// patterns, and turned into a DOS path below the target directory (with its folders or flat).
// Every folder and every existing file is found through the drive map's resolver, so nothing lands
// outside the map and a read-only drive refuses the first file; a new name is then created in the
// folder the resolver vetted. A file that replaces another is written beside it and renamed over
// it when complete, so a failed write leaves the older file as it was.

#include "archivecommands.h"
#include "commandline.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace spindeck::shell::archive {

enum class EntryKind { File, Directory, Link, Other };

struct ArchiveEntry {
    std::string name; // as stored: "/" or "\" between folders, any byte encoding
    EntryKind kind = EntryKind::File;
    std::optional<std::time_t> modified;
};

// Why copying an entry's content failed: on the reading side (the archive is damaged or the entry
// cannot be read), or on the writing side with the errno of the write.
struct CopyFailure {
    bool reading = true;
    int error = 0;       // errno of a failed write
    std::string message; // reason of a failed read
};

// Writes an entry's content to an open file; nothing on success.
using CopyContent = std::function<std::optional<CopyFailure>(int fd)>;

// Writes all of `size` bytes to `fd`; 0, or the errno of the failed write.
int writeAll(int fd, const void* data, std::size_t size);

// The name of an entry as host text: UTF-8 kept, other bytes read as code page 437 (the code page
// of names in DOS archives).
[[nodiscard]] std::string entryNameText(std::string_view stored);

// The folders and name of a stored entry name; nullopt for a name that would leave the target
// (a ".." component, a leading separator, a drive) or that DOS cannot create. "." components and
// empty ones are dropped.
[[nodiscard]] std::optional<std::vector<std::string>> safeComponents(std::string_view name);

// DOS file pattern matching without regard to case: "*" any run of characters, "?" one; "*.*"
// matches every name. A pattern with a separator is matched against the whole stored path, any other
// against the last name only.
[[nodiscard]] bool matchesPattern(std::string_view pattern, const std::vector<std::string>& components);

class Extraction final {
public:
    // `archiveName` names the archive in messages (its full DOS path).
    Extraction(platform::DosFileSystem& fs, const ExtractRequest& request, std::string archiveName,
               const ArchiveOutput& out);
    Extraction(const Extraction&) = delete;
    Extraction& operator=(const Extraction&) = delete;

    // Prepares the target directory (created when missing). False when it cannot be used; the
    // failure has been reported.
    bool open();

    // Places one entry. False when the extraction must stop (the target drive is full or refuses
    // every change, or the archive cannot be read further).
    bool place(const ArchiveEntry& entry, const CopyContent& copy);

    // A failure of the archive as a whole (unreadable, damaged between entries).
    void archiveFailed(int errorlevel, std::string_view message);

    // Reports what was not found and gives the errorlevel.
    int finish();

    // A line of progress from the reader.
    void print(std::string_view line) const;

private:
    bool placeDirectory(const std::vector<std::string>& components);
    bool ensureDirectory(const std::string& dosPath);
    // These return false when the extraction must stop.
    bool writeFile(const ArchiveEntry& entry, const std::string& folder, const std::string& name,
                   const CopyContent& copy);
    platform::PathResult<std::filesystem::path> hostPathFor(const std::string& folder, const std::string& name);
    bool writeFailed(const std::string& dosPath, int error);
    bool keepExisting(const ArchiveEntry& entry, const std::string& dosPath, std::time_t existingModified);
    [[nodiscard]] std::string dosPathOf(const std::vector<std::string>& components) const;
    bool pathFailed(const platform::PathError& error);
    void fail(int errorlevel, std::string_view message);

    platform::DosFileSystem& m_fs;
    const ExtractRequest& m_request;
    std::string m_archiveName;
    const ArchiveOutput& m_out;
    std::string m_target;                    // full DOS path of the target directory
    std::set<std::string> m_madeDirectories; // upper-case DOS paths known to exist

    // A folder that has received a file: its host path and the names in it (upper case, long and
    // short), so that a new name needs no new look at the whole folder.
    struct TargetFolder {
        std::filesystem::path host;
        std::unordered_set<std::string> names;
    };
    std::map<std::string, TargetFolder> m_folders; // by upper-case DOS path
    std::vector<bool> m_patternUsed;
    int m_errorlevel = 0;
    std::size_t m_matched = 0; // files that the patterns chose
    bool m_stopped = false;
};

} // namespace spindeck::shell::archive
