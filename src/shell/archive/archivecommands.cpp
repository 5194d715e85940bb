#include "archivecommands.h"

#include "commandline.h"
#include "errorlevels.h"
#include "extraction.h"
#include "readers.h"

#include <algorithm>
#include <system_error>

namespace spindeck::shell::archive {
namespace {

namespace fs = std::filesystem;
using platform::DosFileSystem;

void report(const std::function<void(std::string_view)>& channel, std::string_view line) {
    if (channel) {
        channel(line);
    }
}

bool hasExtension(std::string_view dosPath) {
    const std::size_t nameStart = dosPath.find_last_of("\\/:");
    const std::string_view name = nameStart == std::string_view::npos ? dosPath : dosPath.substr(nameStart + 1);
    return name.find('.') != std::string_view::npos;
}

struct FoundArchive {
    std::string dosPath; // full DOS path, for messages
    fs::path host;
};

// The archive as written, or with the program's extension when it has none ("GAME" finds
// GAME.ZIP first, as the DOS programs looked for it).
std::vector<FoundArchive> namedArchive(std::string_view archive, std::string_view extension, const DosFileSystem& fs) {
    std::vector<std::string> candidates;
    if (!extension.empty() && !hasExtension(archive)) {
        candidates.push_back(std::string(archive) + std::string(extension));
    }
    candidates.emplace_back(archive);
    for (const std::string& candidate : candidates) {
        auto host = fs.resolve(candidate);
        std::error_code error;
        if (host && fs::is_regular_file(*host, error)) {
            auto full = fs.fullPath(candidate);
            return {FoundArchive{full ? *full : candidate, std::move(*host)}};
        }
    }
    return {};
}

// Every archive a name with wildcards matches ("*.ZIP", "A:DISK?"), by long or short name, in
// name order; each is unpacked in turn as the DOS programs did.
std::vector<FoundArchive> matchingArchives(const ExtractRequest& request, const DosFileSystem& fs) {
    const std::size_t cut = request.archive.find_last_of("\\/:");
    const std::string prefix = cut == std::string::npos ? std::string() : request.archive.substr(0, cut + 1);
    std::string pattern = request.archive.substr(prefix.size());
    if (!hasExtension(pattern)) {
        pattern += request.defaultExtension;
    }
    auto listing = fs.listDirectory(prefix.empty() ? "." : prefix);
    std::vector<FoundArchive> found;
    if (!listing) {
        return found;
    }
    for (const platform::DirEntry& entry : *listing) {
        if (entry.isDirectory ||
            (!matchesPattern(pattern, {entry.name}) && !matchesPattern(pattern, {entry.shortName}))) {
            continue;
        }
        std::vector<FoundArchive> one = namedArchive(prefix + entry.name, {}, fs);
        found.insert(found.end(), one.begin(), one.end());
    }
    return found;
}

std::string_view archiveHeading(ArchiveProgram program) {
    switch (program) {
    case ArchiveProgram::Pkunzip:
        return "Searching ZIP: ";
    case ArchiveProgram::Unzip:
        return "Archive:  ";
    default:
        return "Archive: ";
    }
}

bool usesArjProgram(ArchiveProgram program) {
    return program == ArchiveProgram::Arj || program == ArchiveProgram::Unarj;
}

// One archive: the program's heading, then every entry through the extraction; the errorlevel.
int unpack(const FoundArchive& archive, const ExtractRequest& request, const std::optional<fs::path>& arjProgram,
           DosFileSystem& fs, const ArchiveOutput& out) {
    report(out.print, std::string(archiveHeading(request.program)) + archive.dosPath);
    Extraction extraction(fs, request, archive.dosPath, out);
    if (extraction.open()) {
        if (arjProgram) {
            extractWithArj(*arjProgram, archive.host, archive.dosPath, extraction);
        } else {
            extractWithLibarchive(archive.host, archive.dosPath, request.program, extraction);
        }
    }
    return extraction.finish();
}

} // namespace

bool isArchiveCommand(std::string_view upperName) {
    return archiveProgram(upperName).has_value();
}

int runArchiveCommand(std::string_view upperName, const std::vector<std::string>& args, DosFileSystem& fs,
                      const ArchiveOutput& out) {
    const std::optional<ArchiveProgram> program = archiveProgram(upperName);
    if (!program) {
        report(out.error, "Bad command or file name - " + std::string(upperName));
        return errorlevel::kBadCommandLine;
    }
    const auto isDirectory = [&fs](std::string_view dosPath) {
        auto host = fs.resolve(dosPath);
        std::error_code error;
        return host && fs::is_directory(*host, error);
    };
    auto request = parseCommandLine(*program, args, isDirectory);
    if (!request) {
        report(out.error, request.error().message);
        return request.error().errorlevel;
    }
    const std::string name(programName(*program));
    for (const std::string& option : request->ignoredOptions) {
        report(out.print, name + ": option " + option + " ignored");
    }

    std::optional<fs::path> arj;
    if (usesArjProgram(*program)) {
        arj = findArjProgram();
        if (!arj) {
            report(out.error, "Bad command or file name - " + name + " needs the arj program, which is not installed");
            return errorlevel::kBadCommandLine;
        }
    }
    const bool wildcards = request->archive.find_first_of("*?") != std::string::npos;
    const std::vector<FoundArchive> archives =
        wildcards ? matchingArchives(*request, fs) : namedArchive(request->archive, request->defaultExtension, fs);
    if (archives.empty()) {
        report(out.error, "File not found - " + request->archive);
        return errorlevel::kArchiveNotFound;
    }
    int worst = errorlevel::kSuccess;
    for (const FoundArchive& archive : archives) {
        worst = std::max(worst, unpack(archive, *request, arj, fs, out));
    }
    return worst;
}

} // namespace spindeck::shell::archive
