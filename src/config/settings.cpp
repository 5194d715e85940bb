#include "settings.h"

#include <cmath>

namespace spindeck::config {

namespace {

std::string quoted(std::string_view value) {
    return "'" + std::string(value) + "'";
}

SettingValue keep(std::string problem) {
    return Keep{std::move(problem)};
}

SettingValue colour(std::optional<double> number, std::string_view value) {
    if (!number) {
        return keep(quoted(value) + " is not a number");
    }
    const auto integer = toInteger(*number);
    const auto rgb = integer ? colourOf(*integer) : std::nullopt;
    if (!rgb) {
        return keep(quoted(value) + " is not a colour number from 0 to 15");
    }
    return *rgb;
}

// Border and back styles are switches: 0 or 1.
SettingValue style(std::optional<double> number, std::string_view value) {
    if (!number) {
        return keep(quoted(value) + " is not a number");
    }
    const auto integer = toInteger(*number);
    if (!integer || (*integer != 0 && *integer != 1)) {
        return keep(quoted(value) + " is neither 0 nor 1");
    }
    return *integer;
}

SettingValue twips(std::optional<double> number, std::string_view value, Property property) {
    if (!number) {
        return keep(quoted(value) + " is not a number");
    }
    if (isSize(property) && *number < 0.0) {
        return keep(quoted(value) + " is a negative size");
    }
    if (std::fabs(*number) > kMaxTwips) {
        return keep(quoted(value) + " is beyond the largest distance a window can take");
    }
    return *number;
}

SettingValue picture(std::string_view value, std::string_view programDirectory) {
    return std::string(programDirectory) + "\\" + std::string(value);
}

SettingValue convert(const KeyRow& row, std::string_view value, std::string_view programDirectory) {
    switch (row.conversion) {
    case Conversion::Text:
    case Conversion::FontName:
        return std::string(value);
    case Conversion::PictureFile:
        return picture(value, programDirectory);
    case Conversion::Boolean:
        if (const auto flag = toBoolean(value)) {
            return *flag;
        }
        return keep(quoted(value) + " is neither TRUE, FALSE nor a number");
    case Conversion::ColourFromStrict:
        return colour(strictNumber(value), value);
    case Conversion::ColourFromLenient:
        return colour(lenientNumber(value), value);
    case Conversion::IntegerFromStrict:
        return style(strictNumber(value), value);
    case Conversion::IntegerFromLenient:
        return style(lenientNumber(value), value);
    case Conversion::TwipsFromStrict:
        return twips(strictNumber(value), value, row.property);
    case Conversion::TwipsFromLenient:
        return twips(lenientNumber(value), value, row.property);
    }
    return keep("unknown conversion");
}

std::string* cueSetting(Property property, SharedSettings& settings) {
    switch (property) {
    case Property::gMidiFile:
        return &settings.gMidiFile;
    case Property::mStartUp:
        return &settings.mStartUp;
    case Property::mExit:
        return &settings.mExit;
    case Property::mInstall:
        return &settings.mInstall;
    case Property::mFoundDiz:
        return &settings.mFoundDiz;
    case Property::mFoundQRVTXT:
        return &settings.mFoundQRVTXT;
    case Property::mFoundDizNQRV:
        return &settings.mFoundDizNQRV;
    default:
        return nullptr;
    }
}

} // namespace

SettingAction settingFor(const KeyRow& row, const IniDocument& ini, std::string_view programDirectory) {
    const IniLookup found = ini.lookup(row.key);
    // A key without a usable line counts as empty, so its element keeps its state.
    const std::string value = found.value.value_or(std::string());
    SettingAction action{&row, Keep{}, found.line};
    if (!value.empty()) {
        action.value = convert(row, value, programDirectory);
    } else if (!row.whenEmpty.empty()) {
        action.value = convert(row, row.whenEmpty, programDirectory);
    }
    return action;
}

std::vector<SettingAction> settingsPass(const IniDocument& ini, std::string_view programDirectory) {
    std::vector<SettingAction> actions;
    for (const KeyRow& row : keyTable()) {
        if (row.group != KeyGroup::Splash) {
            actions.push_back(settingFor(row, ini, programDirectory));
        }
    }
    return actions;
}

void applyToSharedSettings(const SettingAction& action, SharedSettings& settings) {
    const auto* text = std::get_if<std::string>(&action.value);
    std::string* target = cueSetting(action.row->property, settings);
    if (text != nullptr && target != nullptr) {
        *target = *text;
    }
}

} // namespace spindeck::config
