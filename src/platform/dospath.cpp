#include "dospath.h"

#include <algorithm>

namespace spindeck::platform::dospath {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string upperAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return upperAscii(c); });
    return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return upperAscii(x) == upperAscii(y); });
}

std::optional<ParsedPath> parse(std::string_view text) {
    if (text.empty() || text.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    ParsedPath parsed;
    if (text.size() >= 2 && text[1] == ':') {
        if (!isAsciiLetter(text[0])) {
            return std::nullopt;
        }
        parsed.drive = upperAscii(text[0]);
        text.remove_prefix(2);
    }
    if (text.find(':') != std::string_view::npos) {
        return std::nullopt;
    }
    parsed.absolute = !text.empty() && isSeparator(text.front());
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = start;
        while (end < text.size() && !isSeparator(text[end])) {
            ++end;
        }
        if (end > start) {
            parsed.components.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return parsed;
}

void apply(std::vector<std::string>& directory, const std::vector<std::string_view>& components) {
    for (std::string_view component : components) {
        if (component == ".") {
            continue;
        }
        if (component == "..") {
            if (!directory.empty()) {
                directory.pop_back();
            }
            continue;
        }
        directory.emplace_back(component);
    }
}

std::string directoryText(const std::vector<std::string>& components) {
    if (components.empty()) {
        return "\\";
    }
    std::string text;
    for (const std::string& component : components) {
        text += '\\';
        text += component;
    }
    return text;
}

std::string join(char drive, const std::vector<std::string>& components) {
    std::string text{upperAscii(drive), ':'};
    return text + directoryText(components);
}

bool isValidName(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || std::string_view("\"*/:<>?\\|").find(c) != std::string_view::npos;
    });
}

} // namespace spindeck::platform::dospath
