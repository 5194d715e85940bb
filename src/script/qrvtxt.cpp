#include "qrvtxt.h"

#include <algorithm>

namespace spindeck::script {

namespace {

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool markerAt(std::string_view text, std::size_t at) {
    return text.size() - at >= kInstallMarker.size() &&
           std::equal(kInstallMarker.begin(), kInstallMarker.end(), text.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char wanted, char c) { return upperAscii(c) == wanted; });
}

// The first marker in the text; the search jumps from one "[" to the next (memchr), so a large
// description without header costs little more than reading it.
std::size_t findMarker(std::string_view text) {
    for (std::size_t at = text.find('['); at != std::string_view::npos; at = text.find('[', at + 1)) {
        if (markerAt(text, at)) {
            return at;
        }
    }
    return std::string_view::npos;
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

QrvDescription describe(std::string bytes) {
    QrvDescription description;
    const std::size_t marker = findMarker(bytes);
    if (marker != std::string::npos) {
        const std::size_t lineStart = bytes.find_last_of("\r\n", marker) + 1; // npos + 1 is 0
        const std::size_t lineEnd = std::min(bytes.find_first_of("\r\n", marker), bytes.size());
        description.installName = installNameOf(std::string_view(bytes).substr(lineStart, lineEnd - lineStart));
        bytes.resize(lineStart);
    } else if (!bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n') {
        bytes.append("\r\n");
    }
    description.text = std::move(bytes);
    return description;
}

} // namespace spindeck::script
