#include "qrvtxt.h"

#include <algorithm>

namespace spindeck::script {

namespace {

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::size_t findMarker(std::string_view line) {
    const auto found = std::search(line.begin(), line.end(), kInstallMarker.begin(), kInstallMarker.end(),
                                   [](char a, char b) { return upperAscii(a) == b; });
    return found == line.end() ? std::string_view::npos : static_cast<std::size_t>(found - line.begin());
}

} // namespace

std::optional<std::string> installNameOf(std::string_view line) {
    const std::size_t marker = findMarker(line);
    if (marker == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view rest = line.substr(marker + kInstallMarker.size());
    return std::string(rest.substr(0, rest.find(']')));
}

QrvDescription describe(std::string_view bytes) {
    QrvDescription description;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
        const std::string_view line = bytes.substr(start, end - start);
        if (auto name = installNameOf(line)) {
            description.installName = std::move(name);
            break;
        }
        description.text.append(line);
        description.text.append("\r\n");
        const bool crLf = end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n';
        start = end + (crLf ? 2 : 1);
    }
    return description;
}

} // namespace spindeck::script
