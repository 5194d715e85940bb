#include "lint.h"

#include "keytable.h"
#include "settings.h"

#include <algorithm>
#include <set>

namespace spindeck::config {

namespace {

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

bool isKeyCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The key a setting line sets ("idrFont" for "idrFont=Arial;"), or empty text for other lines.
std::string_view settingKeyOf(std::string_view line) {
    const std::string_view text = trimBlanks(line);
    std::size_t end = 0;
    while (end < text.size() && isKeyCharacter(text[end])) {
        ++end;
    }
    std::size_t equals = end;
    while (equals < text.size() && isBlank(text[equals])) {
        ++equals;
    }
    if (end == 0 || equals >= text.size() || text[equals] != '=') {
        return {};
    }
    return text.substr(0, end);
}

std::string describeLine(std::string_view line) {
    const std::string_view text = trimBlanks(line);
    if (const auto key = settingKeyOf(line); !key.empty()) {
        return "the setting of " + std::string(key);
    }
    if (!text.empty() && text.front() == '#') {
        return "a comment";
    }
    if (!text.empty() && text.front() == '[') {
        return "a section line";
    }
    return "other text";
}

// True when the value the lookup reads starts right after the key's own "=".
bool valueStartsAtOwnEquals(std::string_view line, std::string_view key) {
    const std::string_view text = trimBlanks(line);
    const auto ownEquals = text.find('=', key.size());
    const auto semicolon = text.rfind(';');
    return semicolon == std::string_view::npos || text.rfind('=', semicolon) == ownEquals;
}

bool namesMedia(const KeyRow& row) {
    return row.conversion == Conversion::PictureFile || row.element == Element::SharedSettings;
}

void lintKey(const KeyRow& row, const IniDocument& ini, const MediaExists& mediaExists,
             std::vector<LintFinding>& findings) {
    const IniLookup found = ini.lookup(row.key);
    if (found.line == 0) {
        return; // an absent key counts as empty
    }
    const std::string& line = ini.lines()[static_cast<std::size_t>(found.line - 1)];
    const std::string key(row.key);
    const auto report = [&](std::string message) { findings.push_back({found.line, std::move(message)}); };

    if (settingKeyOf(line) != row.key) {
        report(key + " reads line " + std::to_string(found.line) + ", which is " + describeLine(line) + ": " +
               std::string(trimBlanks(line)));
        return;
    }
    if (!found.value) {
        report(key + ": the line has no \";\" after the value, so the key counts as missing");
        return;
    }
    if (!valueStartsAtOwnEquals(line, row.key)) {
        report(key + ": the value is read after the last \"=\" before the \";\", giving '" + *found.value + "'");
    }
    if (found.value->empty()) {
        return;
    }
    const SettingAction action = settingFor(row, ini, "");
    if (const auto* kept = std::get_if<Keep>(&action.value); kept != nullptr && !kept->problem.empty()) {
        report(key + ": " + kept->problem);
    }
    if (namesMedia(row) && !mediaExists(*found.value)) {
        report(key + ": '" + *found.value + "' is not beside the configuration file");
    }
}

} // namespace

std::vector<LintFinding> lintIni(const IniDocument& ini, const MediaExists& mediaExists) {
    std::vector<LintFinding> findings;
    std::set<std::string_view> seen; // the title keys stand twice in the table
    for (const KeyRow& row : keyTable()) {
        if (seen.insert(row.key).second) {
            lintKey(row, ini, mediaExists, findings);
        }
    }
    std::stable_sort(findings.begin(), findings.end(),
                     [](const LintFinding& a, const LintFinding& b) { return a.line < b.line; });
    return findings;
}

} // namespace spindeck::config
