#pragma once

// The settings pass: every key of the key table looked up and converted, in the set-up's order,
// as a list of actions that the windows apply. A key without a usable line counts as empty; a
// value that cannot be converted or applied leaves its element as it is and says why.

#include "conversions.h"
#include "inifile.h"
#include "keytable.h"
#include "sharedsettings.h"

#include <string>
#include <variant>
#include <vector>

namespace spindeck::config {

// Nothing to do: the element keeps its state.
struct Keep {
    std::string problem; // empty when the value was simply empty; otherwise why it could not be used
    friend bool operator==(const Keep&, const Keep&) = default;
};

// Text, font name, or the DOS path of a picture file (program directory, "\", value).
using SettingValue = std::variant<Keep, std::string, int, double, bool, Rgb>;

struct SettingAction {
    const KeyRow* row = nullptr;
    SettingValue value;
    int line = 0; // the line the lookup read; 0 when no line holds the key
};

// Looks up and converts one row.
[[nodiscard]] SettingAction settingFor(const KeyRow& row, const IniDocument& ini, std::string_view programDirectory);

// All rows of the set-up (every group but the splash), in order.
[[nodiscard]] std::vector<SettingAction> settingsPass(const IniDocument& ini, std::string_view programDirectory);

// Applies a music-and-cues action to the shared settings; other actions are for the windows.
void applyToSharedSettings(const SettingAction& action, SharedSettings& settings);

} // namespace spindeck::config
