#include "inifile.h"

#include "platform/hostfile.h"

#include <cstring>

namespace spindeck::config {

namespace {

std::string_view trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// The value between the last "=" before the last ";" and that ";".
std::optional<std::string> valueOfLine(std::string_view line) {
    const std::string_view trimmed = trimSpaces(line);
    const auto semicolon = trimmed.rfind(';');
    if (semicolon == std::string_view::npos) {
        return std::nullopt;
    }
    const auto equals = trimmed.rfind('=', semicolon);
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(trimmed.substr(equals + 1, semicolon - equals - 1));
}

} // namespace

std::string configPath(std::string_view programDirectory) {
    std::string path(programDirectory);
    if (path.empty() || path.back() != '\\') {
        path += '\\';
    }
    path += kConfigFileName;
    return path;
}

IniDocument IniDocument::fromBytes(std::string_view bytes) {
    IniDocument document;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            document.m_lines.emplace_back(bytes.substr(start));
            break;
        }
        document.m_lines.emplace_back(bytes.substr(start, end - start));
        const bool crLf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        start = end + (crLf ? 2 : 1);
    }
    return document;
}

Expected<IniDocument, IniReadError> IniDocument::load(const std::filesystem::path& path) {
    std::string bytes;
    if (const int error = spindeck::platform::readHostFile(path, bytes); error != 0) {
        return Unexpected{IniReadError{path, std::strerror(error)}};
    }
    return fromBytes(bytes);
}

IniLookup IniDocument::lookup(std::string_view key) const {
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].find(key) != std::string::npos) {
            return IniLookup{valueOfLine(m_lines[i]), static_cast<int>(i + 1)};
        }
    }
    return IniLookup{};
}

std::string GetIniValue(const std::filesystem::path& path, std::string_view key) {
    const auto document = IniDocument::load(path);
    if (!document) {
        return std::string(kNoUsableLine);
    }
    return document->lookup(key).value.value_or(std::string(kNoUsableLine));
}

} // namespace spindeck::config
