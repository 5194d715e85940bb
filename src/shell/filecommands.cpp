// The file commands of the interpreter: CD, MD, RD, DEL, DELTREE, DIR, TYPE, COPY, XCOPY, MOVE,
// REN. Paths are resolved through the drive map; copies of many files read each directory once
// and open files below it without following links, falling back to the resolver for a link.

#include "hostcopy.h"
#include "interpreter.h"
#include "platform/dospath.h"
#include "wildcard.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unordered_map>

namespace spindeck::shell {

namespace {

using platform::PathError;
using platform::PathErrorCode;
using platform::dospath::equalsIgnoringCase;
using platform::dospath::upperAscii;

constexpr char kEndOfFile = '\x1a';

std::string joinDos(std::string_view directory, std::string_view name) {
    std::string path(directory);
    if (!path.empty() && path.back() != '\\' && path.back() != ':') {
        path += '\\';
    }
    return path + std::string(name);
}

struct DirectoryAndName {
    std::string directory; // as written, empty for the current one
    std::string name;      // the last component, maybe with wildcards
};

DirectoryAndName splitLastName(std::string_view wanted) {
    const auto split = wanted.find_last_of("\\:");
    if (split == std::string_view::npos) {
        return {"", std::string(wanted)};
    }
    return {std::string(wanted.substr(0, split + 1)), std::string(wanted.substr(split + 1))};
}

std::string parentOf(std::string_view fullPath) {
    const auto split = fullPath.find_last_of('\\');
    if (split == std::string_view::npos || split <= 2) {
        return std::string(fullPath.substr(0, 3)); // "C:\"
    }
    return std::string(fullPath.substr(0, split));
}

std::string lastName(std::string_view fullPath) {
    const auto split = fullPath.find_last_of('\\');
    return std::string(split == std::string_view::npos ? fullPath : fullPath.substr(split + 1));
}

PathError hostError(int error, std::string_view path) {
    PathErrorCode code = PathErrorCode::IoError;
    if (error == EACCES || error == EPERM || error == EISDIR || error == ELOOP) {
        code = PathErrorCode::AccessDenied;
    } else if (error == EROFS) {
        code = PathErrorCode::ReadOnly;
    } else if (error == ENOENT) {
        code = PathErrorCode::FileNotFound;
    }
    return PathError{code, std::string(path), std::strerror(error)};
}

struct Switches {
    std::vector<std::string> positional;
    std::string flags; // upper-case letters of the switches given ("SEY"); "/-Y" counts as "-"
    std::string invalid;
};

// Splits arguments into positional ones and single-letter switches from `allowed`.
Switches parseSwitches(std::string_view tail, std::string_view allowed) {
    Switches result;
    for (auto& argument : splitArguments(tail)) {
        if (argument.front() != '/') {
            result.positional.push_back(std::move(argument));
            continue;
        }
        const std::string letter = upperAscii(argument.substr(1));
        if (letter == "-Y" && allowed.find('Y') != std::string_view::npos) {
            result.flags += '-';
        } else if (letter.size() == 1 && allowed.find(letter[0]) != std::string_view::npos) {
            result.flags += letter[0];
        } else if (result.invalid.empty()) {
            result.invalid = argument;
        }
    }
    return result;
}

// The message for arguments a command cannot take: an unknown switch, or too few names.
std::optional<std::string> argumentProblem(const Switches& switches, std::size_t required) {
    if (!switches.invalid.empty()) {
        return "Invalid switch - " + switches.invalid;
    }
    if (switches.positional.size() < required) {
        return "Required parameter missing";
    }
    return std::nullopt;
}

bool has(const Switches& switches, char flag) {
    return switches.flags.find(flag) != std::string::npos;
}

std::string cutAtEndOfFile(std::string bytes) {
    if (const auto end = bytes.find(kEndOfFile); end != std::string::npos) {
        bytes.resize(end);
    }
    return bytes;
}

// A name without wildcards names one entry by its long or its short name; a pattern is matched
// against short names, as DOS matches.
bool entryMatches(std::string_view pattern, const platform::DirEntry& entry) {
    if (!hasWildcards(pattern)) {
        return equalsIgnoringCase(pattern, entry.name) || equalsIgnoringCase(pattern, entry.shortName);
    }
    return matchesWildcard(pattern, entry.shortName);
}

bool isEveryFile(std::string_view pattern) {
    return pattern == "*.*" || pattern == "????????.???";
}

bool samePath(std::string_view a, std::string_view b) {
    return equalsIgnoringCase(a, b);
}

bool isBelow(std::string_view path, std::string_view directory) {
    const std::string prefix = joinDos(directory, "");
    return path.size() >= prefix.size() && equalsIgnoringCase(path.substr(0, prefix.size()), prefix);
}

// The full form of a DOS path, or the path as written when it has none (an unknown drive).
std::string fullPathOr(const platform::DosFileSystem& files, const std::string& path) {
    auto full = files.fullPath(path);
    return full ? *full : path;
}

std::string withThousands(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (auto pos = static_cast<std::ptrdiff_t>(digits.size()) - 3; pos > 0; pos -= 3) {
        digits.insert(static_cast<std::size_t>(pos), ",");
    }
    return digits;
}

} // namespace

// Helpers shared by the commands.

platform::PathResult<std::vector<Interpreter::Match>> Interpreter::matchFiles(std::string_view wanted,
                                                                              bool includeDirectories) const {
    DirectoryAndName parts = splitLastName(wanted);
    if (parts.name.empty()) {
        parts.name = "*.*";
    }
    auto directory = m_files.fullPath(parts.directory.empty() ? std::string(".") : parts.directory);
    if (!directory) {
        return Unexpected{directory.error()};
    }
    std::vector<Match> matches;
    if (!hasWildcards(parts.name)) {
        const std::string found = m_files.findName(*directory, parts.name);
        if (found.empty()) {
            // Missing is an empty match; a refusal (a link out of the drive) is an error.
            if (auto refused = refusalOf(joinDos(*directory, parts.name))) {
                return Unexpected{std::move(*refused)};
            }
            return matches;
        }
        Match match{joinDos(*directory, found), found};
        if (auto host = m_files.resolve(match.path)) {
            std::error_code error;
            match.isDirectory = std::filesystem::is_directory(*host, error);
            match.size = match.isDirectory ? 0 : std::filesystem::file_size(*host, error);
        }
        if (includeDirectories || !match.isDirectory) {
            matches.push_back(std::move(match));
        }
        return matches;
    }
    auto entries = m_files.listDirectory(*directory);
    if (!entries) {
        return Unexpected{entries.error()};
    }
    for (auto& entry : *entries) {
        if ((includeDirectories || !entry.isDirectory) && matchesWildcard(parts.name, entry.shortName)) {
            matches.push_back(Match{joinDos(*directory, entry.name), entry.name, entry.isDirectory, entry.size});
        }
    }
    return matches;
}

std::optional<PathError> Interpreter::refusalOf(std::string_view dosPath) const {
    auto resolved = m_files.resolve(dosPath);
    if (resolved || resolved.error().code == PathErrorCode::FileNotFound ||
        resolved.error().code == PathErrorCode::PathNotFound) {
        return std::nullopt;
    }
    return resolved.error();
}

bool Interpreter::isDirectory(std::string_view dosPath) const {
    const auto host = m_files.resolve(dosPath);
    std::error_code error;
    return host && std::filesystem::is_directory(*host, error);
}

bool Interpreter::exists(std::string_view wanted) const {
    const DirectoryAndName parts = splitLastName(wanted);
    // "IF EXIST DIR\NUL" is the DOS way to ask whether a directory exists.
    if (equalsIgnoringCase(parts.name, "NUL")) {
        return isDirectory(parts.directory.empty() ? std::string(".") : parts.directory);
    }
    const auto matches = matchFiles(wanted, false);
    return matches && !matches->empty();
}

bool Interpreter::makeDirectories(const std::string& dosPath) {
    if (isDirectory(dosPath)) {
        return true;
    }
    const std::string parent = parentOf(dosPath);
    if (!samePath(parent, dosPath) && !makeDirectories(parent)) {
        return false;
    }
    if (auto made = m_files.makeDirectory(dosPath); !made) {
        return failToMakeDirectory(dosPath, made.error());
    }
    return true;
}

bool Interpreter::failToMakeDirectory(std::string_view dosPath, const PathError& error) {
    const PathErrorCode code = error.code;
    if (code == PathErrorCode::ReadOnly || code == PathErrorCode::OutsideDrive || code == PathErrorCode::UnknownDrive ||
        code == PathErrorCode::NotReady || code == PathErrorCode::AccessDenied) {
        return fail(error);
    }
    return fail("Unable to create directory - " + std::string(dosPath) + " (" + error.message() + ")");
}

bool Interpreter::copyOneFile(const Match& source, const std::string& target) {
    auto from = m_files.resolve(source.path);
    if (!from) {
        return fail(from.error());
    }
    auto to = m_files.resolveForWrite(target);
    if (!to) {
        return fail(to.error());
    }
    int error = copyHostFile(*from, *to);
    if (error == ELOOP) {
        // A link at either end, already checked by the resolver to stay on its drive.
        auto bytes = m_files.readFile(source.path);
        if (!bytes) {
            return fail(bytes.error());
        }
        if (auto written = m_files.writeFile(target, *bytes); !written) {
            return fail(written.error());
        }
        error = 0;
    }
    return error == 0 || fail(hostError(error, error == ENOENT ? source.path : target));
}

bool Interpreter::removeTree(const std::string& dosPath) {
    auto parent = m_files.resolveForWrite(parentOf(dosPath));
    if (!parent) {
        return fail(parent.error());
    }
    const std::string name = lastName(dosPath);
    const std::filesystem::path host = *parent / name;
    struct stat info {};
    if (::lstat(host.c_str(), &info) != 0) {
        return fail(hostError(errno, dosPath));
    }
    if (!S_ISDIR(info.st_mode)) {
        const int error = removeHostEntry(host);
        return error == 0 || fail(hostError(error, dosPath));
    }
    auto entries = m_files.listDirectory(dosPath);
    if (!entries) {
        return fail(entries.error());
    }
    bool succeeded = true;
    for (const auto& entry : *entries) {
        succeeded = removeTree(joinDos(dosPath, entry.name)) && succeeded;
    }
    if (!succeeded) {
        return false;
    }
    if (auto removed = m_files.removeDirectory(dosPath); !removed) {
        return fail(removed.error());
    }
    return true;
}

int Interpreter::copyTree(const std::string& sourceDir, std::string_view pattern, const std::string& targetDir,
                          bool recurse, bool keepEmpty, bool& failed) {
    auto entries = m_files.listDirectory(sourceDir);
    auto sourceHost = m_files.resolve(sourceDir);
    if (!entries || !sourceHost) {
        failed = true;
        fail(entries ? sourceHost.error() : entries.error());
        return 0;
    }
    std::vector<const platform::DirEntry*> files;
    for (const auto& entry : *entries) {
        if (!entry.isDirectory && entryMatches(pattern, entry)) {
            files.push_back(&entry);
        }
    }
    int copied = 0;
    if ((!files.empty() || keepEmpty) && !makeDirectories(targetDir)) {
        failed = true;
        return 0;
    }
    if (!files.empty()) {
        auto targetHost = m_files.resolveForWrite(targetDir);
        auto existing = m_files.listDirectory(targetDir);
        if (!targetHost || !existing) {
            failed = true;
            fail(targetHost ? existing.error() : targetHost.error());
            return 0;
        }
        // A file already there under another letter case is replaced, not doubled.
        std::unordered_map<std::string, std::string> spelling;
        for (const auto& entry : *existing) {
            spelling.emplace(upperAscii(entry.name), entry.name);
        }
        for (const auto* file : files) {
            const auto known = spelling.find(upperAscii(file->name));
            const std::string targetName = known == spelling.end() ? file->name : known->second;
            const Match source{joinDos(sourceDir, file->name), file->name};
            writeLine(source.path);
            const int error = copyHostFile(*sourceHost / file->name, *targetHost / targetName);
            const bool copiedThisOne =
                error == 0 ||
                (error == ELOOP
                     ? copyOneFile(source, joinDos(targetDir, targetName))
                     : fail(hostError(error, error == ENOENT ? source.path : joinDos(targetDir, targetName))));
            if (copiedThisOne) {
                ++copied;
            } else {
                failed = true;
            }
        }
    }
    if (recurse) {
        for (const auto& entry : *entries) {
            if (entry.isDirectory) {
                copied += copyTree(joinDos(sourceDir, entry.name), pattern, joinDos(targetDir, entry.name), recurse,
                                   keepEmpty, failed);
            }
        }
    }
    return copied;
}

// The commands.

bool Interpreter::cmdCd(std::string_view tail, const Redirections&) {
    const auto arguments = splitArguments(tail);
    if (arguments.empty()) {
        writeLine(m_files.currentDirectory(m_files.currentDrive()));
        return true;
    }
    if (arguments.size() > 1) {
        return fail("Too many parameters - " + arguments[1]);
    }
    const std::string& target = arguments.front();
    if (target.size() == 2 && target[1] == ':') {
        if (m_files.driveMap().drive(target[0]) == nullptr) {
            return fail("Invalid drive - " + target);
        }
        writeLine(m_files.currentDirectory(target[0]));
        return true;
    }
    if (auto changed = m_files.changeDirectory(target); !changed) {
        const PathErrorCode code = changed.error().code;
        if (code == PathErrorCode::UnknownDrive || code == PathErrorCode::NotReady ||
            code == PathErrorCode::OutsideDrive) {
            return fail(changed.error());
        }
        return fail("Invalid directory - " + target);
    }
    return true;
}

bool Interpreter::cmdMd(std::string_view tail, const Redirections&) {
    const auto arguments = splitArguments(tail);
    if (arguments.empty()) {
        return fail("Required parameter missing");
    }
    bool succeeded = true;
    for (const auto& directory : arguments) {
        if (auto made = m_files.makeDirectory(directory); !made) {
            succeeded = failToMakeDirectory(directory, made.error());
        }
    }
    return succeeded;
}

bool Interpreter::cmdRd(std::string_view tail, const Redirections&) {
    const auto arguments = splitArguments(tail);
    if (arguments.empty()) {
        return fail("Required parameter missing");
    }
    bool succeeded = true;
    for (const auto& directory : arguments) {
        if (auto removed = m_files.removeDirectory(directory); !removed) {
            const PathError& error = removed.error();
            if (error.code == PathErrorCode::AccessDenied && error.reason.find("current") != std::string::npos) {
                succeeded = fail("Attempt to remove current directory - " + directory);
            } else if (error.code == PathErrorCode::NotEmpty || error.code == PathErrorCode::NotADirectory ||
                       error.code == PathErrorCode::FileNotFound || error.code == PathErrorCode::PathNotFound) {
                succeeded = fail("Invalid path, not directory, or directory not empty - " + directory);
            } else {
                succeeded = fail(error);
            }
        }
    }
    return succeeded;
}

bool Interpreter::cmdDel(std::string_view tail, const Redirections&) {
    const Switches switches = parseSwitches(tail, "PQ");
    if (const auto problem = argumentProblem(switches, 1)) {
        return fail(*problem);
    }
    bool succeeded = true;
    for (const auto& given : switches.positional) {
        // "DEL DIR" deletes the files in DIR, as DOS does.
        const std::string wanted = isDirectory(given) ? joinDos(given, "*.*") : given;
        const auto matches = matchFiles(wanted, false);
        if (!matches) {
            succeeded = fail(matches.error());
            continue;
        }
        if (matches->empty()) {
            succeeded = fail("File not found - " + given);
            continue;
        }
        if (isEveryFile(splitLastName(wanted).name) && !has(switches, 'Q') &&
            !askYesNo("All files in directory will be deleted!\r\nAre you sure (Y/N)?")) {
            continue;
        }
        for (const auto& match : *matches) {
            if (has(switches, 'P') && !askYesNo(match.path + ",    Delete (Y/N)?")) {
                continue;
            }
            if (auto removed = m_files.removeFile(match.path); !removed) {
                succeeded = fail(removed.error());
            }
        }
    }
    return succeeded;
}

bool Interpreter::cmdDeltree(std::string_view tail, const Redirections&) {
    const Switches switches = parseSwitches(tail, "Y");
    if (const auto problem = argumentProblem(switches, 1)) {
        return fail(*problem);
    }
    bool succeeded = true;
    for (const auto& wanted : switches.positional) {
        const auto matches = matchFiles(wanted, true);
        if (!matches) {
            succeeded = fail(matches.error());
            continue;
        }
        for (const auto& match : *matches) {
            if (!has(switches, 'Y')) {
                const std::string question =
                    match.isDirectory ? "Delete directory \"" + match.path + "\" and all its subdirectories? [yn] "
                                      : "Delete file \"" + match.path + "\"? [yn] ";
                if (!askYesNo(question)) {
                    continue;
                }
            }
            writeLine("Deleting " + match.path + "...");
            succeeded = removeTree(match.path) && succeeded;
        }
    }
    return succeeded;
}

bool Interpreter::cmdDir(std::string_view tail, const Redirections&) {
    const Switches switches = parseSwitches(tail, "BWPSOAL");
    if (const auto problem = argumentProblem(switches, 0)) {
        return fail(*problem);
    }
    std::string wanted = switches.positional.empty() ? std::string(".") : switches.positional.front();
    if (isDirectory(wanted)) {
        wanted = joinDos(wanted, "*.*");
    } else if (const DirectoryAndName parts = splitLastName(wanted); parts.name.find('.') == std::string::npos) {
        wanted += ".*"; // DIR NAME lists NAME with any extension
    }
    const auto matches = matchFiles(wanted, true);
    if (!matches) {
        return fail(matches.error());
    }
    if (matches->empty()) {
        return fail("File not found - " + wanted);
    }
    if (has(switches, 'B')) {
        for (const auto& match : *matches) {
            writeLine(match.name);
        }
        return true;
    }
    const auto directory =
        m_files.fullPath(splitLastName(wanted).directory.empty() ? "." : splitLastName(wanted).directory);
    const char letter = directory ? directory->front() : m_files.currentDrive();
    const platform::Drive* drive = m_files.driveMap().drive(letter);
    writeLine(drive != nullptr && !drive->label.empty()
                  ? " Volume in drive " + std::string(1, letter) + " is " + drive->label
                  : " Volume in drive " + std::string(1, letter) + " has no label");
    writeLine(" Directory of " + (directory ? *directory : wanted));
    writeLine("");
    std::uint64_t bytes = 0;
    int fileCount = 0;
    for (const auto& match : *matches) {
        std::string line = match.name;
        line.resize(std::max<std::size_t>(line.size(), 13), ' ');
        if (match.isDirectory) {
            line += "<DIR>";
        } else {
            const std::string size = withThousands(match.size);
            line += std::string(size.size() < 14 ? 14 - size.size() : 0, ' ') + size;
            bytes += match.size;
            ++fileCount;
        }
        writeLine(line);
    }
    writeLine("        " + std::to_string(fileCount) + " file(s)    " + withThousands(bytes) + " bytes");
    if (auto space = m_files.GetDiskFreeSpaceA(std::string(1, letter) + ":\\")) {
        writeLine("                   " + withThousands(space->freeBytes()) + " bytes free");
    }
    return true;
}

bool Interpreter::cmdType(std::string_view tail, const Redirections&) {
    const Switches switches = parseSwitches(tail, "");
    if (const auto problem = argumentProblem(switches, 1)) {
        return fail(*problem);
    }
    bool succeeded = true;
    for (const auto& wanted : switches.positional) {
        const auto matches = matchFiles(wanted, true);
        if (!matches) {
            succeeded = fail(matches.error());
            continue;
        }
        if (matches->empty()) {
            succeeded = fail("File not found - " + wanted);
            continue;
        }
        for (const auto& match : *matches) {
            if (match.isDirectory && hasWildcards(wanted)) {
                continue;
            }
            auto bytes = m_files.readFile(match.path);
            if (!bytes) {
                succeeded = fail(bytes.error());
                continue;
            }
            write(cutAtEndOfFile(std::move(*bytes)));
        }
    }
    return succeeded;
}

bool Interpreter::cmdCopy(std::string_view tail, const Redirections&) {
    const Switches switches = parseSwitches(tail, "ABVY");
    if (const auto problem = argumentProblem(switches, 1)) {
        return fail(*problem);
    }
    const auto& items = switches.positional;
    if (items.front() == "+") {
        return fail("Required parameter missing");
    }
    std::vector<std::string> sources{items.front()};
    std::size_t next = 1;
    while (next < items.size() && items[next] == "+") {
        if (next + 1 < items.size()) {
            sources.push_back(items[next + 1]);
        }
        next += 2;
    }
    std::optional<std::string> destination;
    if (next < items.size()) {
        destination = items[next++];
    }
    if (next < items.size()) {
        return fail("Too many parameters - " + items[next]);
    }

    std::vector<Match> files;
    bool wildcardSource = false;
    for (const auto& source : sources) {
        const std::string wanted = isDirectory(source) ? joinDos(source, "*.*") : source;
        wildcardSource = wildcardSource || hasWildcards(splitLastName(wanted).name);
        const auto matches = matchFiles(wanted, false);
        if (!matches) {
            return fail(matches.error());
        }
        if (matches->empty()) {
            fail("File not found - " + source);
            continue;
        }
        files.insert(files.end(), matches->begin(), matches->end());
    }
    if (files.empty()) {
        writeLine("        0 file(s) copied");
        return false;
    }
    // Joining files (with "+", or a wildcard onto one file) is a text copy unless /B says otherwise.
    const bool targetIsDirectory =
        !destination || destination->back() == '\\' || destination->back() == ':' || isDirectory(*destination);
    const bool targetHasWildcards = destination && hasWildcards(splitLastName(*destination).name);
    const bool joining = sources.size() > 1 || (wildcardSource && !targetIsDirectory && !targetHasWildcards);
    const bool text = has(switches, 'A') || (joining && !has(switches, 'B'));

    bool succeeded = true;
    int copied = 0;
    if (!joining) {
        const auto targetDirectory =
            m_files.fullPath(!destination ? std::string(".")
                                          : (targetIsDirectory ? *destination : splitLastName(*destination).directory));
        if (!targetDirectory) {
            return fail(targetDirectory.error());
        }
        // Inside a batch file COPY replaces files without asking, as DOS does; /-Y asks.
        bool askFirst = has(switches, '-');
        for (const auto& file : files) {
            std::string target;
            if (targetIsDirectory) {
                target = joinDos(*targetDirectory, file.name);
            } else if (targetHasWildcards) {
                target = joinDos(*targetDirectory, nameFromPattern(file.name, splitLastName(*destination).name));
            } else {
                target = fullPathOr(m_files, *destination);
            }
            if (samePath(target, file.path)) {
                succeeded = fail("File cannot be copied onto itself - " + file.path);
                continue;
            }
            if (askFirst && m_files.resolve(target)) {
                const char answer = ask("Overwrite " + target + " (Yes/No/All)?", "YNA", 'N');
                if (answer == 'N') {
                    continue;
                }
                askFirst = answer != 'A';
            }
            if (wildcardSource) {
                writeLine(file.path);
            }
            bool done = false;
            if (text) {
                auto bytes = m_files.readFile(file.path);
                auto written =
                    bytes ? m_files.writeFile(target, cutAtEndOfFile(*bytes) + kEndOfFile) : Unexpected{bytes.error()};
                done = written || fail(written.error());
            } else {
                done = copyOneFile(file, target);
            }
            copied += done ? 1 : 0;
            succeeded = done && succeeded;
        }
    } else {
        std::string target = files.front().path;
        if (destination) {
            target = targetIsDirectory ? joinDos(fullPathOr(m_files, *destination), files.front().name)
                                       : fullPathOr(m_files, *destination);
        }
        std::string joined;
        for (const auto& file : files) {
            writeLine(file.path);
            auto bytes = m_files.readFile(file.path);
            if (!bytes) {
                succeeded = fail(bytes.error());
                continue;
            }
            joined += text ? cutAtEndOfFile(std::move(*bytes)) : std::move(*bytes);
        }
        if (text) {
            joined += kEndOfFile;
        }
        if (auto written = m_files.writeFile(target, joined); written) {
            copied = 1;
        } else {
            succeeded = fail(written.error());
        }
    }
    writeLine("        " + std::to_string(copied) + " file(s) copied");
    return succeeded;
}

bool Interpreter::cmdXcopy(std::string_view tail, const Redirections&) {
    const auto failWithLevel = [this](int level, std::string_view message) {
        m_errorLevel = level;
        return fail(message);
    };
    const Switches switches = parseSwitches(tail, "SEYIVPW");
    if (const auto problem = argumentProblem(switches, 1)) {
        return failWithLevel(4, *problem);
    }
    if (switches.positional.size() > 2) {
        return failWithLevel(4, "Too many parameters - " + switches.positional[2]);
    }
    const std::string& source = switches.positional.front();
    std::string pattern = "*.*";
    std::string sourceDirectoryText = source;
    if (auto refused = refusalOf(source)) {
        return failWithLevel(4, dosMessage(*refused));
    }
    const bool sourceIsDirectory = isDirectory(source);
    if (!sourceIsDirectory) {
        const DirectoryAndName parts = splitLastName(source);
        sourceDirectoryText = parts.directory.empty() ? "." : parts.directory;
        pattern = parts.name.empty() ? "*.*" : parts.name;
    }
    const auto sourceDir = m_files.fullPath(sourceDirectoryText);
    if (!sourceDir || !isDirectory(*sourceDir)) {
        return failWithLevel(4, "Invalid path - " + source);
    }
    const std::string destination = switches.positional.size() > 1 ? switches.positional[1] : ".";
    const auto target = m_files.fullPath(destination);
    if (!target) {
        return failWithLevel(4, dosMessage(target.error()));
    }
    const bool many = sourceIsDirectory || hasWildcards(pattern);
    bool intoDirectory = isDirectory(*target) || destination.back() == '\\' || destination.back() == ':';
    if (!intoDirectory && !m_files.resolve(*target)) {
        intoDirectory =
            (has(switches, 'I') && many) ||
            ask("Is " + destination + " a file name\r\nor a directory name on the target\r\n(F = file, D = directory)?",
                "FD", 'D') == 'D';
    }
    writeLine("Reading source file(s)...");
    bool failed = false;
    int copied = 0;
    if (intoDirectory) {
        if (has(switches, 'S') && (samePath(*target, *sourceDir) || isBelow(*target, *sourceDir))) {
            return failWithLevel(4, "Cannot perform a cyclic copy");
        }
        copied = copyTree(*sourceDir, pattern, *target, has(switches, 'S'), has(switches, 'S') && has(switches, 'E'),
                          failed);
    } else {
        const auto matches = matchFiles(joinDos(*sourceDir, pattern), false);
        if (matches && matches->size() > 1) {
            return failWithLevel(4, "Cannot copy several files onto one file - " + destination);
        }
        if (matches && !matches->empty()) {
            writeLine(matches->front().path);
            failed = !copyOneFile(matches->front(), *target);
            copied = failed ? 0 : 1;
        }
    }
    writeLine(std::to_string(copied) + " File(s) copied");
    if (failed) {
        m_errorLevel = 4;
        return false;
    }
    if (copied == 0) {
        return failWithLevel(1, "File not found - " + source);
    }
    m_errorLevel = 0;
    return true;
}

bool Interpreter::cmdMove(std::string_view tail, const Redirections&) {
    const Switches switches = parseSwitches(tail, "Y");
    if (const auto problem = argumentProblem(switches, 2)) {
        return fail(*problem);
    }
    const std::string& destination = switches.positional.back();
    const auto target = m_files.fullPath(destination);
    if (!target) {
        return fail(target.error());
    }
    const bool intoDirectory = isDirectory(*target);
    std::vector<Match> sources;
    for (std::size_t i = 0; i + 1 < switches.positional.size(); ++i) {
        const std::string& wanted = switches.positional[i];
        const auto matches = matchFiles(wanted, !hasWildcards(wanted));
        if (!matches) {
            return fail(matches.error());
        }
        if (matches->empty()) {
            return fail("File not found - " + wanted);
        }
        sources.insert(sources.end(), matches->begin(), matches->end());
    }
    if (!intoDirectory && sources.size() > 1) {
        return fail("Cannot move multiple files to a single file - " + destination);
    }
    bool succeeded = true;
    for (const auto& source : sources) {
        const std::string to = intoDirectory ? joinDos(*target, source.name) : *target;
        if (samePath(to, source.path)) {
            continue;
        }
        if (!source.isDirectory && m_files.resolve(to) && !isDirectory(to)) {
            (void)m_files.removeFile(to); // MOVE replaces a file of the same name
        }
        bool moved = m_files.rename(source.path, to).has_value();
        if (!moved && !source.isDirectory) {
            // Across drives (or host file systems) a move is a copy and a delete.
            moved = copyOneFile(source, to) && m_files.removeFile(source.path).has_value();
        }
        if (moved) {
            writeLine(source.path + " => " + to + " [ok]");
        } else {
            succeeded = fail("Unable to move " + source.path + " => " + to);
        }
    }
    return succeeded;
}

bool Interpreter::cmdRen(std::string_view tail, const Redirections&) {
    const Switches switches = parseSwitches(tail, "");
    if (const auto problem = argumentProblem(switches, 2)) {
        return fail(*problem);
    }
    if (switches.positional.size() > 2) {
        return fail("Too many parameters - " + switches.positional[2]);
    }
    const std::string& newName = switches.positional[1];
    if (newName.find_first_of("\\:") != std::string::npos) {
        return fail("Invalid parameter - " + newName);
    }
    const auto matches = matchFiles(switches.positional[0], false);
    if (!matches) {
        return fail(matches.error());
    }
    if (matches->empty()) {
        return fail("Duplicate file name or file not found - " + switches.positional[0]);
    }
    bool succeeded = true;
    for (const auto& match : *matches) {
        const std::string to = joinDos(parentOf(match.path), nameFromPattern(match.name, newName));
        if (auto renamed = m_files.rename(match.path, to); !renamed) {
            const PathErrorCode code = renamed.error().code;
            succeeded = fail(code == PathErrorCode::AlreadyExists || code == PathErrorCode::FileNotFound
                                 ? "Duplicate file name or file not found - " + to
                                 : dosMessage(renamed.error()));
        }
    }
    return succeeded;
}

} // namespace spindeck::shell
