#include "batchfile.h"

#include "qrvtxt.h"

namespace spindeck::script {

namespace {

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        const bool crLf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
        start = end + (crLf ? 2 : 1);
    }
    return lines;
}

} // namespace

std::optional<std::vector<std::string>> installScript(std::string_view qrvTxt) {
    const std::vector<std::string_view> lines = linesOf(qrvTxt);
    auto line = lines.begin();
    while (line != lines.end() && !installNameOf(*line)) {
        ++line;
    }
    if (line == lines.end() || line + 1 == lines.end()) {
        return std::nullopt;
    }
    return std::vector<std::string>(line + 1, lines.end());
}

std::string batchFileBytes(std::string_view selectedDir, const std::vector<std::string>& script,
                           const std::function<std::string(std::string_view)>& substitute) {
    std::string bytes;
    bytes += selectedDir.substr(0, 2);
    bytes += "\r\nCD \"";
    bytes += selectedDir.size() > 2 ? selectedDir.substr(2) : std::string_view();
    bytes += "\"\r\n";
    for (const std::string& line : script) {
        bytes += substitute(line);
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace spindeck::script
