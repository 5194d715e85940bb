#include "config/defaultfile.h"
#include "config/settings.h"

#include <gtest/gtest.h>
#include <map>

namespace spindeck::config {
namespace {

// The actions of one pass by key; the title keys, read twice, map to their install-title action.
std::multimap<std::string_view, SettingAction> actionsByKey(std::string_view ini,
                                                            std::string_view programDir = "C:\\DISC") {
    std::multimap<std::string_view, SettingAction> byKey;
    for (auto& action : settingsPass(IniDocument::fromBytes(ini), programDir)) {
        byKey.emplace(action.row->key, std::move(action));
    }
    return byKey;
}

const SettingValue& valueOf(const std::multimap<std::string_view, SettingAction>& actions, std::string_view key) {
    return actions.find(key)->second.value;
}

bool keeps(const SettingValue& value) {
    return std::holds_alternative<Keep>(value);
}

TEST(SettingsPassTest, FollowsTheGroupOrderAndReadsTheTitleKeysTwice) {
    const auto actions = settingsPass(IniDocument::fromBytes(""), "C:\\");
    ASSERT_EQ(actions.size(), 76U);
    EXPECT_EQ(actions.front().row->key, "mConfirmInstall");
    EXPECT_EQ(actions.back().row->key, "mFoundDizNQRV");
    EXPECT_TRUE(std::is_sorted(actions.begin(), actions.end(),
                               [](const auto& a, const auto& b) { return a.row->group < b.row->group; }));
    EXPECT_EQ(actionsByKey("").count("tForeColor"), 2U);
}

TEST(SettingsPassTest, AppliesTheDefaultFileAsTheStartUpExpects) {
    const auto actions = actionsByKey(defaultFileBytes(), "D:\\");
    EXPECT_EQ(std::get<bool>(valueOf(actions, "mConfirmInstall")), true);
    EXPECT_EQ(std::get<std::string>(valueOf(actions, "tCaption")), "Spindeck");
    EXPECT_EQ(std::get<std::string>(valueOf(actions, "iPicture")), "D:\\\\QRV.BMP") << "a root gives two backslashes";
    EXPECT_EQ(std::get<std::string>(valueOf(actions, "iiPicture")), "D:\\\\QRV.BMP");
    EXPECT_EQ(std::get<std::string>(valueOf(actions, "mMIDI")), "MUSIC.MID");
    EXPECT_EQ(std::get<std::string>(valueOf(actions, "mFoundDizNQRV")), "diznqrv.wav");
    for (const auto key : {"fBackColor", "tFont", "drHeight", "dbLeft", "sitFont", "dtTop", "idbFont", "idrLeft"}) {
        EXPECT_TRUE(keeps(valueOf(actions, key))) << key;
    }
}

TEST(SettingsPassTest, TreatsAMissingKeyAsEmptyButAValueOfMinusOneAsWritten) {
    const auto actions = actionsByKey("iLeft=-1;\r\nmConfirmInstall=FALSE\r\n");
    EXPECT_EQ(std::get<double>(valueOf(actions, "iLeft")), -1.0);
    EXPECT_EQ(std::get<bool>(valueOf(actions, "mConfirmInstall")), true) << "no usable line counts as empty";
    EXPECT_EQ(std::get<std::string>(valueOf(actions, "tCaption")), "Spindeck");
    EXPECT_EQ(std::get<Keep>(valueOf(actions, "fBackColor")).problem, "");
}

struct ConversionCase {
    std::string_view name;
    std::string_view line;
    std::string_view key;
    SettingValue expected;
};

class SettingConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(SettingConversionTest, ConvertsAsTheKeyAsks) {
    const auto& c = GetParam();
    const SettingValue actual = valueOf(actionsByKey(c.line), c.key);
    if (std::holds_alternative<Keep>(c.expected)) {
        ASSERT_TRUE(keeps(actual)) << "the element must keep its state";
        EXPECT_FALSE(std::get<Keep>(actual).problem.empty()) << "a kept value says why";
    } else {
        EXPECT_EQ(actual, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SettingConversionTest,
    ::testing::Values(
        ConversionCase{"strict_colour", "fBackColor=&HC;", "fBackColor", Rgb{255, 0, 0}},
        ConversionCase{"strict_colour_refuses_letters", "fBackColor=12abc;", "fBackColor", Keep{}},
        ConversionCase{"lenient_colour_takes_leading_number", "tBackColor=4abc;", "tBackColor", Rgb{128, 0, 0}},
        ConversionCase{"lenient_colour_without_number_is_black", "dtBackColor=abc;", "dtBackColor", Rgb{0, 0, 0}},
        ConversionCase{"colour_out_of_range", "fForeColor=16;", "fForeColor", Keep{}},
        ConversionCase{"colour_rounds_half_to_even", "sitBackColor=4.5;", "sitBackColor", Rgb{128, 0, 0}},
        ConversionCase{"strict_size_refuses_letters", "drHeight=abc;", "drHeight", Keep{}},
        ConversionCase{"lenient_size_without_number_is_zero", "dbHeight=abc;", "dbHeight", 0.0},
        ConversionCase{"twips_keep_fractions", "drTop=100.5;", "drTop", 100.5},
        ConversionCase{"negative_size", "iWidth=-5;", "iWidth", Keep{}},
        ConversionCase{"negative_position", "sitLeft=-30;", "sitLeft", -30.0},
        ConversionCase{"size_beyond_the_toolkit", "idbWidth=1e12;", "idbWidth", Keep{}},
        ConversionCase{"border_style", "tBorderStyle=1;", "tBorderStyle", 1},
        ConversionCase{"border_style_not_a_switch", "iBorderStyle=2;", "iBorderStyle", Keep{}},
        ConversionCase{"back_style_lenient", "tBackStyle=1 opaque;", "tBackStyle", 1},
        ConversionCase{"boolean_false", "mConfirmInstall=False;", "mConfirmInstall", false},
        ConversionCase{"boolean_refused", "mConfirmInstall=yes;", "mConfirmInstall", Keep{}},
        ConversionCase{"font_name_as_written", "tFont=Liberation Serif;", "tFont", std::string("Liberation Serif")},
        ConversionCase{"picture_joined_to_the_program_directory", "iiPicture=ART\\LOGO.BMP;", "iiPicture",
                       std::string("C:\\DISC\\ART\\LOGO.BMP")},
        ConversionCase{"caption_as_written", "tCaption= My Disc ;", "tCaption", std::string(" My Disc ")}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SettingsPassTest, StylesBothTitlesFromTheMainTitleKeys) {
    const auto actions = actionsByKey("tBackColor=4;\r\ntBackStyle=1;\r\n");
    const auto [first, last] = actions.equal_range("tBackColor");
    ASSERT_EQ(std::distance(first, last), 2);
    for (auto it = first; it != last; ++it) {
        EXPECT_EQ(it->second.value, SettingValue(Rgb{128, 0, 0}));
    }
    std::set<Element> styled;
    for (auto it = first; it != last; ++it) {
        styled.insert(it->second.row->element);
    }
    EXPECT_EQ(styled, (std::set<Element>{Element::lblTitle, Element::lblInstTitle}));
}

TEST(SharedSettingsTest, TakesTheMusicAndCueNames) {
    SharedSettings settings;
    for (const auto& action : settingsPass(IniDocument::fromBytes("mMIDI=SONG.MID;\r\nmExit=bye.wav;\r\n"), "C:\\")) {
        applyToSharedSettings(action, settings);
    }
    EXPECT_EQ(settings.gMidiFile, "SONG.MID");
    EXPECT_EQ(settings.mExit, "bye.wav");
    EXPECT_EQ(settings.mStartUp, "start.wav");
    EXPECT_EQ(settings.mInstall, "inst.wav");
    EXPECT_EQ(settings.mFoundDiz, "diz.wav");
    EXPECT_EQ(settings.mFoundQRVTXT, "qrv.wav");
}

} // namespace
} // namespace spindeck::config
