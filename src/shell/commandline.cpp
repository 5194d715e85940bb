#include "commandline.h"

#include "platform/dospath.h"

#include <algorithm>

namespace spindeck::shell {

namespace {

constexpr char kEndOfFile = '\x1a';

bool isParameterSeparator(char c) {
    return isBlank(c) || c == ',' || c == ';' || c == '=';
}

bool isVariableNameChar(char c) {
    return c != '%' && c != '\0';
}

} // namespace

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

Expected<std::vector<std::string>, BatchTextError> splitBatchLines(std::string_view bytes) {
    if (const auto end = bytes.find(kEndOfFile); end != std::string_view::npos) {
        bytes = bytes.substr(0, end);
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        const std::string_view line = bytes.substr(start, end - start);
        const std::size_t number = lines.size() + 1;
        if (line.find('\0') != std::string_view::npos) {
            return Unexpected{BatchTextError{number, "holds a NUL byte; this is not a batch file"}};
        }
        if (line.size() > kMaxBatchLine) {
            return Unexpected{
                BatchTextError{number, "is longer than " + std::to_string(kMaxBatchLine) + " characters"}};
        }
        lines.emplace_back(line);
        start = end;
        if (start < bytes.size() && bytes[start] == '\r') {
            ++start;
        }
        if (start < bytes.size() && bytes[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

std::string expandPercents(std::string_view line, const std::vector<std::string>& parameters,
                           const VariableLookup& lookup) {
    std::string result;
    result.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '%') {
            result += line[i];
            continue;
        }
        if (i + 1 >= line.size()) {
            break; // a "%" at the end of the line is dropped
        }
        const char next = line[i + 1];
        if (next == '%') {
            result += '%';
            ++i;
        } else if (next >= '0' && next <= '9') {
            const auto index = static_cast<std::size_t>(next - '0');
            if (index < parameters.size()) {
                result += parameters[index];
            }
            ++i;
        } else {
            std::size_t close = i + 1;
            while (close < line.size() && isVariableNameChar(line[close])) {
                ++close;
            }
            if (close >= line.size()) {
                continue; // no closing "%": the "%" alone is dropped
            }
            const std::string name = platform::dospath::upperAscii(line.substr(i + 1, close - i - 1));
            if (const auto value = lookup(name)) {
                result += *value;
            }
            i = close;
        }
    }
    return result;
}

namespace {

// Reads the target of a redirection starting at `pos` (blanks before it skipped); empty when none.
std::string redirectionTarget(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    const std::size_t start = pos;
    bool quoted = false;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (isBlank(c) || c == '<' || c == '>' || c == '|')) {
            break;
        }
        ++pos;
    }
    std::string target(text.substr(start, pos - start));
    std::erase(target, '"');
    return target;
}

std::optional<PipelineStage> takeRedirections(std::string_view text) {
    PipelineStage stage;
    bool quoted = false;
    for (std::size_t pos = 0; pos < text.size();) {
        const char c = text[pos];
        if (c == '"') {
            quoted = !quoted;
        }
        if (quoted || (c != '<' && c != '>')) {
            stage.text += c;
            ++pos;
            continue;
        }
        const bool append = c == '>' && pos + 1 < text.size() && text[pos + 1] == '>';
        pos += append ? 2 : 1;
        std::string target = redirectionTarget(text, pos);
        if (target.empty()) {
            return std::nullopt;
        }
        if (c == '<') {
            stage.redirections.input = std::move(target);
        } else {
            stage.redirections.output = std::move(target);
            stage.redirections.append = append;
        }
    }
    return stage;
}

} // namespace

std::optional<std::vector<PipelineStage>> splitPipeline(std::string_view line) {
    std::vector<PipelineStage> stages;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t pos = 0; pos <= line.size(); ++pos) {
        if (pos < line.size() && line[pos] == '"') {
            quoted = !quoted;
        }
        if (pos < line.size() && (quoted || line[pos] != '|')) {
            continue;
        }
        auto stage = takeRedirections(line.substr(start, pos - start));
        if (!stage) {
            return std::nullopt;
        }
        stages.push_back(std::move(*stage));
        start = pos + 1;
    }
    if (stages.size() > 1 && std::any_of(stages.begin(), stages.end(),
                                         [](const PipelineStage& stage) { return trimBlanks(stage.text).empty(); })) {
        return std::nullopt;
    }
    return stages;
}

namespace {

CommandWord splitWordAt(std::string_view text, std::string_view enders) {
    // Only leading blanks go: trailing ones are part of what ECHO writes, as on DOS.
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    std::size_t end = 0;
    while (end < text.size() && !isBlank(text[end]) && enders.find(text[end]) == std::string_view::npos) {
        ++end;
    }
    return {platform::dospath::upperAscii(text.substr(0, end)), std::string(text.substr(end))};
}

} // namespace

CommandWord internalCommandWord(std::string_view text) {
    return splitWordAt(text, ",;=/\\.+\"[");
}

CommandWord programWord(std::string_view text) {
    return splitWordAt(text, "/");
}

std::vector<std::string> splitArguments(std::string_view tail) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    const auto finish = [&] {
        if (inArgument) {
            arguments.push_back(std::move(current));
        }
        current.clear();
        inArgument = false;
    };
    for (const char c : tail) {
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if (quoted) {
            current += c;
        } else if (isParameterSeparator(c)) {
            finish();
        } else if (c == '+') {
            finish();
            arguments.emplace_back("+");
        } else {
            if (c == '/') {
                finish();
            }
            current += c;
            inArgument = true;
        }
    }
    finish();
    return arguments;
}

std::vector<std::string> splitParameters(std::string_view tail) {
    std::vector<std::string> parameters;
    std::size_t pos = 0;
    while (pos < tail.size()) {
        while (pos < tail.size() && isParameterSeparator(tail[pos])) {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < tail.size() && !isParameterSeparator(tail[pos])) {
            ++pos;
        }
        if (pos > start) {
            parameters.emplace_back(tail.substr(start, pos - start));
        }
    }
    return parameters;
}

} // namespace spindeck::shell
