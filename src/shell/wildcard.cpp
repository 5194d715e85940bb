#include "wildcard.h"

#include "platform/dospath.h"

namespace spindeck::shell {

namespace {

struct NameParts {
    std::string_view name;
    std::string_view extension;
};

NameParts splitAtLastDot(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        return {name, {}};
    }
    return {name.substr(0, dot), name.substr(dot + 1)};
}

// One part of a name in its fixed-width form: "*" turns into "?" up to the width, blanks pad.
std::string padded(std::string_view part, std::size_t width) {
    std::string result;
    for (const char c : part) {
        if (result.size() == width) {
            break;
        }
        if (c == '*') {
            result.append(width - result.size(), '?');
            break;
        }
        result += platform::dospath::upperAscii(c);
    }
    result.append(width - result.size(), ' ');
    return result;
}

bool matchesPart(std::string_view pattern, std::string_view name, std::size_t width) {
    const std::string wanted = padded(pattern, width);
    const std::string actual = padded(name, width);
    for (std::size_t i = 0; i < width; ++i) {
        if (wanted[i] != '?' && wanted[i] != actual[i]) {
            return false;
        }
    }
    return true;
}

std::string partFromPattern(std::string_view source, std::string_view pattern) {
    std::string result;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '*') {
            if (i < source.size()) {
                result += source.substr(i);
            }
            break;
        }
        if (pattern[i] == '?') {
            if (i < source.size()) {
                result += source[i];
            }
        } else {
            result += pattern[i];
        }
    }
    return result;
}

} // namespace

bool hasWildcards(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}

bool matchesWildcard(std::string_view pattern, std::string_view shortName) {
    const NameParts wanted = splitAtLastDot(pattern);
    const NameParts actual = splitAtLastDot(shortName);
    return matchesPart(wanted.name, actual.name, 8) && matchesPart(wanted.extension, actual.extension, 3);
}

std::string nameFromPattern(std::string_view sourceName, std::string_view pattern) {
    if (pattern == "*.*" || pattern == "*") {
        return std::string(sourceName);
    }
    const NameParts source = splitAtLastDot(sourceName);
    const NameParts target = splitAtLastDot(pattern);
    std::string result = partFromPattern(source.name, target.name);
    const std::string extension = partFromPattern(source.extension, target.extension);
    if (!extension.empty()) {
        result += '.' + extension;
    }
    return result;
}

} // namespace spindeck::shell
