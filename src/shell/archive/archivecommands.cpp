#include "archivecommands.h"

#include "commandline.h"
#include "errorlevels.h"
#include "extraction.h"
#include "readers.h"

#include <system_error>

namespace spindeck::shell::archive {
namespace {

namespace fs = std::filesystem;
using platform::DosFileSystem;
using platform::PathErrorCode;

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
std::optional<FoundArchive> findArchive(const ExtractRequest& request, const DosFileSystem& fs) {
    std::vector<std::string> candidates;
    if (!hasExtension(request.archive)) {
        candidates.push_back(request.archive + request.defaultExtension);
    }
    candidates.push_back(request.archive);
    for (const std::string& candidate : candidates) {
        auto host = fs.resolve(candidate);
        std::error_code error;
        if (host && fs::is_regular_file(*host, error)) {
            auto full = fs.fullPath(candidate);
            return FoundArchive{full ? *full : candidate, std::move(*host)};
        }
    }
    return std::nullopt;
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
    const std::optional<FoundArchive> archive = findArchive(*request, fs);
    if (!archive) {
        report(out.error, "File not found - " + request->archive);
        return errorlevel::kArchiveNotFound;
    }
    report(out.print, std::string(archiveHeading(*program)) + archive->dosPath);

    Extraction extraction(fs, *request, out);
    if (extraction.open()) {
        if (arj) {
            extractWithArj(*arj, archive->host, archive->dosPath, extraction);
        } else {
            extractWithLibarchive(archive->host, archive->dosPath, *program, extraction);
        }
    }
    return extraction.finish();
}

} // namespace spindeck::shell::archive
