#include "commandline.h"

#include "errorlevels.h"
#include "platform/dospath.h"

#include <array>
#include <cstddef>

namespace spindeck::shell::archive {
namespace {

using platform::dospath::upperAscii;

struct ProgramName {
    std::string_view name;
    ArchiveProgram program;
};

constexpr std::array kProgramNames{
    ProgramName{"PKUNZIP", ArchiveProgram::Pkunzip}, ProgramName{"UNZIP", ArchiveProgram::Unzip},
    ProgramName{"LHA", ArchiveProgram::Lha},         ProgramName{"LHARC", ArchiveProgram::Lha},
    ProgramName{"LHA32", ArchiveProgram::Lha},       ProgramName{"UNRAR", ArchiveProgram::Unrar},
    ProgramName{"UNARJ", ArchiveProgram::Unarj},     ProgramName{"ARJ", ArchiveProgram::Arj},
};

Unexpected<CommandLineError> badCommandLine(std::string message) {
    return Unexpected{CommandLineError{errorlevel::kBadCommandLine, std::move(message)}};
}

bool isSwitch(std::string_view arg, ArchiveProgram program) {
    // UNZIP is the one program of Unix descent: "/" starts no switch there.
    const bool slash = program != ArchiveProgram::Unzip && arg[0] == '/';
    return arg.size() > 1 && (arg[0] == '-' || slash);
}

bool hasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

// A directory operand ends with a separator or a drive colon ("DATA\", "C:"), names a directory
// that exists, or is a path without wildcards ("C:\GAMES\NEW", made when missing): a file pattern
// with folders in it has wildcards in practice.
bool namesDirectory(std::string_view operand, const DirectoryProbe& isDirectory) {
    const char last = operand.back();
    if (last == '\\' || last == '/' || last == ':') {
        return true;
    }
    if (hasWildcard(operand)) {
        return false;
    }
    return operand.find_first_of("\\/:") != std::string_view::npos || (isDirectory && isDirectory(operand));
}

// The letters of a PKUNZIP switch group ("-do"); "e" may be followed by sort keys, which do not
// matter when nothing is listed.
void applyPkunzipSwitch(std::string_view letters, ExtractRequest& request) {
    for (std::size_t i = 0; i < letters.size(); ++i) {
        switch (upperAscii(letters[i])) {
        case 'D':
            request.keepFolders = true;
            break;
        case 'O':
            request.overwrite = Overwrite::Always;
            break;
        case 'N':
            request.overwrite = Overwrite::NewerOnly;
            break;
        case 'X': // "-xREADME.TXT" leaves that file in the archive
            if (i + 1 < letters.size()) {
                request.excluded.emplace_back(letters.substr(i + 1));
            }
            return;
        case 'E':
            while (i + 1 < letters.size() &&
                   std::string_view("cdenpsCDENPS").find(letters[i + 1]) != std::string_view::npos) {
                ++i;
            }
            break;
        default:
            request.ignoredOptions.push_back(std::string("-") + letters[i]);
            break;
        }
    }
}

// One UNZIP switch group ("-oq", "-d", "-dDIR"); `next` gives the following argument for -d. After
// -x the names that follow are files to leave in the archive: `excluding` says so.
Expected<Done, CommandLineError> applyUnzipSwitch(std::string_view letters, ExtractRequest& request, bool& excluding,
                                                  const std::function<const std::string*()>& next) {
    for (std::size_t i = 0; i < letters.size(); ++i) {
        switch (letters[i]) {
        case 'o':
            request.overwrite = Overwrite::Always;
            break;
        case 'n':
            request.overwrite = Overwrite::Never;
            break;
        case 'u':
            request.overwrite = Overwrite::NewerOnly;
            break;
        case 'j':
            request.keepFolders = false;
            break;
        case 'q':
        case 'C': // names are always matched without regard to case here
            break;
        case 'x':
            excluding = true;
            return Done{};
        case 'd': {
            if (i + 1 < letters.size()) {
                request.target = letters.substr(i + 1);
                return Done{};
            }
            const std::string* directory = next();
            if (directory == nullptr) {
                return badCommandLine("UNZIP: -d needs a directory");
            }
            request.target = *directory;
            return Done{};
        }
        default:
            request.ignoredOptions.push_back(std::string("-") + letters[i]);
            break;
        }
    }
    return Done{};
}

// LHA switches are letters with an optional value: "/x1", "/m", "-c", "/x-" ("0" or "-" turns one off).
void applyLhaSwitch(std::string_view body, ExtractRequest& request) {
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char letter = upperAscii(body[i]);
        bool on = true;
        while (i + 1 < body.size() && std::string_view("0123456789+-").find(body[i + 1]) != std::string_view::npos) {
            ++i;
            on = body[i] != '0' && body[i] != '-';
        }
        switch (letter) {
        case 'X':
            request.keepFolders = on || request.keepFolders;
            break;
        case 'C': // no time-stamp check: the archived copy always wins
            request.overwrite = on ? Overwrite::Always : request.overwrite;
            break;
        case 'M': // no questions: the answer is yes, but a newer file is still kept
            if (on && request.overwrite == Overwrite::Ask) {
                request.overwrite = Overwrite::NewerOnly;
            }
            break;
        case 'N': // no progress indicator
            break;
        default:
            request.ignoredOptions.push_back(std::string("/") + body[i]);
            break;
        }
    }
}

void applyUnrarSwitch(std::string_view body, ExtractRequest& request) {
    const std::string upper = upperAscii(body);
    if (upper == "O+" || upper == "Y") {
        request.overwrite = Overwrite::Always;
    } else if (upper == "O-") {
        request.overwrite = Overwrite::Never;
    } else if (upper == "U") {
        request.overwrite = Overwrite::NewerOnly;
    } else if (upper == "EP") {
        request.keepFolders = false;
    } else {
        request.ignoredOptions.push_back("-" + std::string(body));
    }
}

void applyArjSwitch(std::string_view body, ExtractRequest& request) {
    const std::string upper = upperAscii(body);
    if (upper == "Y") {
        request.overwrite = Overwrite::Always;
    } else if (upper == "U") {
        request.overwrite = Overwrite::NewerOnly;
    } else if (upper == "E") {
        request.keepFolders = false;
    } else {
        request.ignoredOptions.push_back("-" + std::string(body));
    }
}

std::string_view defaultExtension(ArchiveProgram program) {
    switch (program) {
    case ArchiveProgram::Pkunzip:
    case ArchiveProgram::Unzip:
        return ".ZIP";
    case ArchiveProgram::Lha:
        return ".LZH";
    case ArchiveProgram::Unrar:
        return ".RAR";
    case ArchiveProgram::Unarj:
    case ArchiveProgram::Arj:
        break;
    }
    return ".ARJ";
}

bool takesCommandLetter(ArchiveProgram program) {
    return program != ArchiveProgram::Pkunzip && program != ArchiveProgram::Unzip;
}

// "x" keeps folders, "e" extracts flat; the programs' other commands (list, test, add) are not
// what an install script needs of them here.
Expected<Done, CommandLineError> applyCommandLetter(std::string_view command, ExtractRequest& request) {
    const std::string upper = upperAscii(command);
    if (upper == "X") {
        request.keepFolders = true;
        return Done{};
    }
    if (upper == "E") {
        request.keepFolders = false;
        return Done{};
    }
    return badCommandLine(std::string(programName(request.program)) + ": command " + std::string(command) +
                          " not supported (only x and e extract here)");
}

// Where the operands after the archive go: the first may be the target directory (UNRAR: the last
// one ending with a separator); the others are file patterns.
void placeOperands(std::vector<std::string> operands, ExtractRequest& request, const DirectoryProbe& isDirectory) {
    if (request.program == ArchiveProgram::Unrar) {
        for (std::string& operand : operands) {
            const char last = operand.back();
            if (last == '\\' || last == '/' || last == ':') {
                request.target = std::move(operand);
            } else {
                request.patterns.push_back(std::move(operand));
            }
        }
        return;
    }
    std::size_t first = 0;
    const bool targetAllowed = request.program != ArchiveProgram::Unzip;
    if (targetAllowed && !operands.empty() && namesDirectory(operands.front(), isDirectory)) {
        request.target = std::move(operands.front());
        first = 1;
    }
    for (std::size_t i = first; i < operands.size(); ++i) {
        request.patterns.push_back(std::move(operands[i]));
    }
}

} // namespace

std::optional<ArchiveProgram> archiveProgram(std::string_view upperName) {
    if (const std::size_t cut = upperName.find_last_of("\\/:"); cut != std::string_view::npos) {
        upperName.remove_prefix(cut + 1);
    }
    const std::string name = upperAscii(upperName);
    std::string_view base = name;
    if (base.ends_with(".EXE") || base.ends_with(".COM")) {
        base.remove_suffix(4);
    }
    for (const ProgramName& known : kProgramNames) {
        if (known.name == base) {
            return known.program;
        }
    }
    return std::nullopt;
}

std::string_view programName(ArchiveProgram program) {
    for (const ProgramName& known : kProgramNames) {
        if (known.program == program) {
            return known.name;
        }
    }
    return {};
}

Expected<ExtractRequest, CommandLineError>
parseCommandLine(ArchiveProgram program, const std::vector<std::string>& args, const DirectoryProbe& isDirectory) {
    ExtractRequest request;
    request.program = program;
    request.defaultExtension = defaultExtension(program);
    // UNZIP keeps folders unless told otherwise; the DOS programs put every file in one place.
    request.keepFolders = program == ArchiveProgram::Unzip;
    bool commandSeen = !takesCommandLetter(program);
    bool excluding = false; // after UNZIP's -x
    std::vector<std::string> operands;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty()) {
            continue;
        }
        if (!commandSeen) {
            // LHA and ARJ also accept the command with a dash ("-x") in some versions.
            auto applied = applyCommandLetter(arg[0] == '-' ? std::string_view(arg).substr(1) : arg, request);
            if (!applied) {
                return Unexpected{applied.error()};
            }
            commandSeen = true;
            continue;
        }
        if (!isSwitch(arg, program)) {
            (excluding ? request.excluded : operands).push_back(arg);
            continue;
        }
        const std::string_view body = std::string_view(arg).substr(1);
        switch (program) {
        case ArchiveProgram::Pkunzip:
            applyPkunzipSwitch(body, request);
            break;
        case ArchiveProgram::Unzip: {
            auto applied = applyUnzipSwitch(body, request, excluding, [&]() -> const std::string* {
                return i + 1 < args.size() ? &args[++i] : nullptr;
            });
            if (!applied) {
                return Unexpected{applied.error()};
            }
            break;
        }
        case ArchiveProgram::Lha:
            applyLhaSwitch(body, request);
            break;
        case ArchiveProgram::Unrar:
            applyUnrarSwitch(body, request);
            break;
        case ArchiveProgram::Unarj:
        case ArchiveProgram::Arj:
            applyArjSwitch(body, request);
            break;
        }
    }
    const std::string name(programName(program));
    if (!commandSeen) {
        return badCommandLine(name + ": no command given (x or e)");
    }
    if (operands.empty()) {
        return badCommandLine(name + ": no archive named");
    }
    request.archive = std::move(operands.front());
    operands.erase(operands.begin());
    placeOperands(std::move(operands), request, isDirectory);
    return request;
}

} // namespace spindeck::shell::archive
