#include "substitutetags.h"

#include <algorithm>

namespace spindeck::script {

namespace {

// The short-form buffer of the platform holds 256 characters; a longer form counts as none.
constexpr std::size_t kShortFormBuffer = 256;

// Only ASCII letters change case: bytes above 127 may be code page 437 or ANSI text, and
// changing them by the wrong table would corrupt file names.
char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

std::string withoutTrailingBackslash(std::string_view path) {
    return std::string(path.ends_with('\\') ? path.substr(0, path.size() - 1) : path);
}

// A drive root without its backslash ("C:") is its own short form: asking the platform would name
// the drive's current directory instead.
std::string shortFormInLowerCase(const platform::DosFileSystem& files, const std::string& longPath) {
    if (longPath.size() == 2 && longPath[1] == ':') {
        return lowerAscii(longPath);
    }
    const auto shortForm = files.GetShortPathNameA(longPath);
    if (!shortForm || shortForm->size() >= kShortFormBuffer) {
        return std::string(kNoShortForm);
    }
    return lowerAscii(*shortForm);
}

// The drive of the path and the directory from its third character on; an empty directory (a
// drive root without its backslash) is the root.
void changeTo(platform::DosFileSystem& files, std::string_view path) {
    if (path.size() < 2 || path[1] != ':') {
        return;
    }
    const std::string directory(path.substr(2));
    (void)files.setCurrentDrive(upperAscii(path[0]));
    (void)files.changeDirectory(std::string(path.substr(0, 2)) + (directory.empty() ? "\\" : directory));
}

} // namespace

std::string SubstituteTags(std::string_view line, std::string_view installPath, platform::DosFileSystem& files) {
    std::string working(installPath);
    std::string result;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] != '<') {
            result += upperAscii(line[i++]);
            continue;
        }
        std::string tag;
        do {
            tag += upperAscii(line[i++]);
        } while (tag.back() != '>' && i < line.size());

        if (tag == "<PATH>") {
            working = withoutTrailingBackslash(working);
            result += shortFormInLowerCase(files, working);
        } else if (tag == "<TEMP>") {
            result += shortFormInLowerCase(files, withoutTrailingBackslash(working)) + ".qrv";
        } else if (tag == "<GOTO TEMP>") {
            changeTo(files, withoutTrailingBackslash(working));
        } else if (tag == "<GOTO PATH>") {
            changeTo(files, working);
        } else {
            result += tag;
        }
    }
    return result;
}

} // namespace spindeck::script
