#include "extraction.h"

#include "errorlevels.h"
#include "platform/codepage.h"
#include "platform/dospath.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace spindeck::shell::archive {
namespace {

namespace fs = std::filesystem;
using platform::PathError;
using platform::PathErrorCode;
using platform::PathResult;
using platform::dospath::upperAscii;

// The length of the UTF-8 sequence that starts at `i`, or 0 when the bytes there are not one.
std::size_t utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8SequenceLength(text, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

void appendUtf8(std::string& text, char16_t unit) {
    if (unit < 0x80) {
        text += static_cast<char>(unit);
    } else if (unit < 0x800) {
        text += static_cast<char>(0xC0 | (unit >> 6));
        text += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (unit >> 12));
        text += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (unit & 0x3F));
    }
}

// Wildcard match of one DOS name or path; "*" and "?" do not cross a "\".
bool globMatch(std::string_view pattern, std::string_view text) {
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t starPattern = std::string_view::npos;
    std::size_t starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starText = t;
        } else if (p < pattern.size() && text[t] != '\\' &&
                   (pattern[p] == '?' || upperAscii(pattern[p]) == upperAscii(text[t]))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '\\' && text[t] == '\\') {
            ++p;
            ++t;
        } else if (starPattern != std::string_view::npos && text[starText] != '\\') {
            p = starPattern + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

std::string joined(const std::vector<std::string>& components, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            text += '\\';
        }
        text += components[i];
    }
    return text;
}

// The progress line's lead for each program, in the manner of its own output.
std::string_view progressVerb(ArchiveProgram program) {
    switch (program) {
    case ArchiveProgram::Pkunzip:
        return "  Inflating: ";
    case ArchiveProgram::Unzip:
        return "  inflating: ";
    case ArchiveProgram::Lha:
        return "  Melting: ";
    case ArchiveProgram::Unrar:
        return "Extracting  ";
    case ArchiveProgram::Unarj:
    case ArchiveProgram::Arj:
        break;
    }
    return "Extracting ";
}

std::string childPath(const std::string& folder, std::string_view name) {
    return folder + (folder.back() == '\\' ? "" : "\\") + std::string(name);
}

std::string parentOf(const std::string& dosPath) {
    const std::size_t cut = dosPath.find_last_of('\\');
    // "C:\GAMES" has the root "C:\" as its parent.
    return cut <= 2 ? dosPath.substr(0, 3) : dosPath.substr(0, cut);
}

bool isRoot(const std::string& dosPath) {
    return dosPath.size() == 3;
}

// A new file beside `target`, open for writing; -1 with errno set when none can be made.
int openBeside(const fs::path& target, fs::path& temporary) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target.parent_path() /
                    (".spindeck-unpack-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp");
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// The DOS wording of a failure to reach a path.
std::string dosMessage(const PathError& error) {
    switch (error.code) {
    case PathErrorCode::ReadOnly:
    case PathErrorCode::AccessDenied:
    case PathErrorCode::OutsideDrive:
        return "Access denied - " + error.path;
    case PathErrorCode::NotReady:
        return "Drive not ready - " + error.path;
    case PathErrorCode::UnknownDrive:
        return "Invalid drive - " + error.path;
    case PathErrorCode::PathNotFound:
        return "Path not found - " + error.path;
    default:
        return "Cannot write " + error.message();
    }
}

// Failures that every further entry would meet as well.
bool stopsEverything(PathErrorCode code) {
    return code == PathErrorCode::ReadOnly || code == PathErrorCode::NotReady || code == PathErrorCode::UnknownDrive;
}

bool isDiskFull(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

} // namespace

int writeAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t wrote = ::write(fd, bytes, size);
        if (wrote < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return 0;
}

std::string entryNameText(std::string_view stored) {
    if (isUtf8(stored)) {
        return std::string(stored);
    }
    std::string text;
    text.reserve(stored.size() * 2);
    for (const char byte : stored) {
        const auto value = static_cast<unsigned char>(byte);
        appendUtf8(text, value < 0x80 ? static_cast<char16_t>(value) : platform::oemCharacter(value));
    }
    return text;
}

std::optional<std::vector<std::string>> safeComponents(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\') {
        return std::nullopt;
    }
    std::vector<std::string> components;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("/\\", start);
        if (end == std::string_view::npos) {
            end = name.size();
        }
        const std::string_view component = name.substr(start, end - start);
        start = end + 1;
        if (component.empty() || component == ".") {
            continue;
        }
        if (component == ".." || !platform::dospath::isValidName(component)) {
            return std::nullopt;
        }
        components.emplace_back(component);
    }
    if (components.empty()) {
        return std::nullopt;
    }
    return components;
}

bool matchesPattern(std::string_view written, const std::vector<std::string>& components) {
    std::string pattern(written);
    std::replace(pattern.begin(), pattern.end(), '/', '\\');
    const bool wholePath = pattern.find('\\') != std::string::npos;
    const std::string text = wholePath ? joined(components, components.size()) : components.back();
    if (pattern == "*.*" || globMatch(pattern, text)) {
        return true;
    }
    // "NAME.*" also matches a name with no extension at all, as on DOS.
    const std::string_view last = components.back();
    if (pattern.ends_with(".*") && last.find('.') == std::string_view::npos) {
        return globMatch(std::string_view(pattern).substr(0, pattern.size() - 2), text);
    }
    return false;
}

Extraction::Extraction(platform::DosFileSystem& fs, const ExtractRequest& request, std::string archiveName,
                       const ArchiveOutput& out)
    : m_fs(fs), m_request(request), m_archiveName(std::move(archiveName)), m_out(out),
      m_patternUsed(request.patterns.size(), false) {}

bool Extraction::open() {
    std::string target = m_request.target;
    // "DATA\" names the folder DATA; "C:\" and "C:" stay as they are.
    while (target.size() > 1 && (target.back() == '\\' || target.back() == '/') && target[target.size() - 2] != ':') {
        target.pop_back();
    }
    if (target.empty()) {
        m_target = m_fs.currentDirectory(m_fs.currentDrive());
    } else {
        auto full = m_fs.fullPath(target);
        if (!full) {
            pathFailed(full.error());
            return false;
        }
        m_target = std::move(*full);
    }
    return ensureDirectory(m_target);
}

bool Extraction::place(const ArchiveEntry& entry, const CopyContent& copy) {
    const std::string text = entryNameText(entry.name);
    const std::optional<std::vector<std::string>> components = safeComponents(text);
    if (!components) {
        fail(errorlevel::kWarning, "Unsafe name refused - " + text);
        return true;
    }
    if (entry.kind == EntryKind::Directory) {
        return placeDirectory(*components);
    }
    if (!m_request.patterns.empty()) {
        bool matched = false;
        for (std::size_t i = 0; i < m_request.patterns.size(); ++i) {
            if (matchesPattern(m_request.patterns[i], *components)) {
                m_patternUsed[i] = true;
                matched = true;
            }
        }
        if (!matched) {
            return true;
        }
    }
    const auto matches = [&](const std::string& pattern) { return matchesPattern(pattern, *components); };
    if (std::any_of(m_request.excluded.begin(), m_request.excluded.end(), matches)) {
        return true;
    }
    ++m_matched;
    if (entry.kind != EntryKind::File) {
        fail(errorlevel::kWarning,
             (entry.kind == EntryKind::Link ? "Link refused - " : "Special file refused - ") + text);
        return true;
    }
    const std::vector<std::string> folders(components->begin(), components->end() - 1);
    if (!m_request.keepFolders || folders.empty()) {
        writeFile(entry, m_target, components->back(), copy);
    } else if (const std::string folder = dosPathOf(folders); ensureDirectory(folder)) {
        writeFile(entry, folder, components->back(), copy);
    }
    return !m_stopped;
}

bool Extraction::placeDirectory(const std::vector<std::string>& components) {
    // With file patterns only the folders of the files that match are made.
    if (!m_request.keepFolders || !m_request.patterns.empty()) {
        return true;
    }
    ensureDirectory(dosPathOf(components));
    return !m_stopped;
}

bool Extraction::ensureDirectory(const std::string& dosPath) {
    const std::string key = upperAscii(dosPath);
    if (m_madeDirectories.contains(key)) {
        return true;
    }
    auto host = m_fs.resolve(dosPath);
    if (host) {
        std::error_code error;
        if (!fs::is_directory(*host, error)) {
            fail(errorlevel::kWarning, "Cannot create folder " + dosPath + ": a file of that name exists");
            return false;
        }
        m_madeDirectories.insert(key);
        return true;
    }
    const PathErrorCode code = host.error().code;
    if (isRoot(dosPath) || (code != PathErrorCode::FileNotFound && code != PathErrorCode::PathNotFound)) {
        pathFailed(host.error());
        return false;
    }
    if (!ensureDirectory(parentOf(dosPath))) {
        return false;
    }
    if (auto made = m_fs.makeDirectory(dosPath); !made) {
        pathFailed(made.error());
        return false;
    }
    m_madeDirectories.insert(key);
    return true;
}

PathResult<fs::path> Extraction::hostPathFor(const std::string& folder, const std::string& name) {
    const std::string dosPath = childPath(folder, name);
    const std::string folderKey = upperAscii(folder);
    const std::string nameKey = upperAscii(name);
    auto known = m_folders.find(folderKey);
    if (known == m_folders.end()) {
        // The first file of a folder: the resolver checks the drive and where the folder really is.
        auto host = m_fs.resolveForWrite(dosPath);
        if (!host) {
            return host;
        }
        TargetFolder target{host->parent_path(), {}};
        if (auto listing = m_fs.listDirectory(folder)) {
            for (const platform::DirEntry& entry : *listing) {
                target.names.insert(upperAscii(entry.name));
                target.names.insert(upperAscii(entry.shortName));
            }
        }
        target.names.insert(nameKey);
        m_folders.emplace(folderKey, std::move(target));
        return host;
    }
    if (known->second.names.contains(nameKey)) {
        return m_fs.resolveForWrite(dosPath); // a name already there: the resolver finds it and vets it
    }
    // A new name in a folder already vetted: it is created as written, without a new look at
    // every name of the folder, which the resolver would need (the folder has changed since).
    known->second.names.insert(nameKey);
    return known->second.host / name;
}

bool Extraction::writeFile(const ArchiveEntry& entry, const std::string& folder, const std::string& name,
                           const CopyContent& copy) {
    const std::string dosPath = childPath(folder, name);
    auto host = hostPathFor(folder, name);
    if (!host) {
        return pathFailed(host.error());
    }
    struct stat existing {};
    const bool replacing = ::lstat(host->c_str(), &existing) == 0;
    if (replacing) {
        if (S_ISDIR(existing.st_mode)) {
            fail(errorlevel::kWarning, "Cannot extract " + dosPath + ": a folder of that name exists");
            return true;
        }
        if (keepExisting(entry, dosPath, existing.st_mtime)) {
            return true;
        }
    }
    print(std::string(progressVerb(m_request.program)) + dosPath);

    // A file that replaces another is written beside it and renamed over it when complete; a new
    // one is written in place and removed again when it cannot be completed.
    fs::path written = *host;
    const int fd =
        replacing ? openBeside(*host, written) : ::open(written.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return writeFailed(dosPath, errno);
    }
    std::optional<CopyFailure> failure = copy(fd);
    if (!failure && entry.modified) {
        const std::array<timespec, 2> times{timespec{*entry.modified, 0}, timespec{*entry.modified, 0}};
        ::futimens(fd, times.data());
    }
    if (::close(fd) != 0 && !failure) {
        failure = CopyFailure{false, errno, {}};
    }
    if (!failure && replacing && ::rename(written.c_str(), host->c_str()) != 0) {
        failure = CopyFailure{false, errno, {}};
    }
    if (!failure) {
        return true;
    }
    ::unlink(written.c_str());
    if (failure->reading) {
        fail(errorlevel::kDamaged, "Damaged archive entry - " + dosPath + ": " + failure->message);
        return true;
    }
    return writeFailed(dosPath, failure->error);
}

bool Extraction::writeFailed(const std::string& dosPath, int error) {
    if (isDiskFull(error)) {
        fail(errorlevel::kDiskFull, "Disk full - " + dosPath);
        m_stopped = true;
        return false;
    }
    if (error == EROFS) {
        fail(errorlevel::kWarning, "Access denied - " + dosPath);
        m_stopped = true;
        return false;
    }
    if (error == EACCES || error == EPERM) {
        fail(errorlevel::kWarning, "Access denied - " + dosPath);
        return true;
    }
    fail(errorlevel::kWarning, "Cannot write " + dosPath + ": " + std::strerror(error));
    return true;
}

bool Extraction::keepExisting(const ArchiveEntry& entry, const std::string& dosPath, std::time_t existingModified) {
    switch (m_request.overwrite) {
    case Overwrite::Always:
        return false;
    case Overwrite::Never:
        return true;
    case Overwrite::NewerOnly:
        return !entry.modified || *entry.modified <= existingModified;
    case Overwrite::Ask:
        break;
    }
    // The DOS program would ask; a batch run has no one to answer, so the file stays as it is.
    print("  Skipped: " + dosPath + " already exists (no overwrite option given)");
    return true;
}

std::string Extraction::dosPathOf(const std::vector<std::string>& components) const {
    return childPath(m_target, joined(components, components.size()));
}

bool Extraction::pathFailed(const PathError& error) {
    fail(errorlevel::kWarning, dosMessage(error));
    if (stopsEverything(error.code)) {
        m_stopped = true;
    }
    return !m_stopped;
}

void Extraction::archiveFailed(int level, std::string_view message) {
    fail(level, message);
}

int Extraction::finish() {
    for (std::size_t i = 0; i < m_request.patterns.size(); ++i) {
        if (!m_patternUsed[i] && m_matched > 0) {
            print("  Warning! No match for " + m_request.patterns[i]);
        }
    }
    if (m_matched == 0 && m_errorlevel == errorlevel::kSuccess) {
        fail(errorlevel::kNothingToExtract, "No files found to extract - " + m_archiveName);
    }
    return m_errorlevel;
}

void Extraction::fail(int level, std::string_view message) {
    m_errorlevel = std::max(m_errorlevel, level);
    if (m_out.error) {
        m_out.error(message);
    }
}

void Extraction::print(std::string_view line) const {
    if (m_out.print) {
        m_out.print(line);
    }
}

} // namespace spindeck::shell::archive
