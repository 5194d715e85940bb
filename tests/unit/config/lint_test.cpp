#include "config/defaultfile.h"
#include "config/lint.h"

#include <gtest/gtest.h>
#include <set>

namespace spindeck::config {
namespace {

std::vector<LintFinding> lint(std::string_view ini, std::set<std::string> media = {}) {
    return lintIni(IniDocument::fromBytes(ini),
                   [media = std::move(media)](std::string_view name) { return media.contains(std::string(name)); });
}

TEST(LintTest, FindsNothingInTheDefaultFileWithItsPicture) {
    EXPECT_TRUE(lint(defaultFileBytes(), {"QRV.BMP"}).empty());
}

TEST(LintTest, NamesEveryKeyWhosePictureIsMissing) {
    const auto findings = lint(defaultFileBytes());
    ASSERT_EQ(findings.size(), 3U);
    EXPECT_EQ(findings[0].line, 58);
    EXPECT_EQ(findings[0].message, "iPicture: 'QRV.BMP' is not beside the configuration file");
    EXPECT_EQ(findings[1].line, 135);
    EXPECT_EQ(findings[2].line, 160);
}

struct LintCase {
    std::string_view name;
    std::string_view ini;
    int line;
    std::string_view message;
};

std::ostream& operator<<(std::ostream& out, const LintCase& c) {
    return out << c.name;
}

class LintFindingTest : public ::testing::TestWithParam<LintCase> {};

TEST_P(LintFindingTest, ReportsTheTrapWithItsLine) {
    const auto& c = GetParam();
    const auto findings = lint(c.ini, {"LOGO.BMP", "song.mid"});
    ASSERT_EQ(findings.size(), 1U);
    EXPECT_EQ(findings[0].line, c.line);
    EXPECT_EQ(findings[0].message, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Traps, LintFindingTest,
    ::testing::Values(LintCase{"longer_key_first", "[X]\r\nidrFont=Arial;\r\ndrFont=;\r\n", 2,
                               "drFont reads line 2, which is the setting of idrFont: idrFont=Arial;"},
                      LintCase{"comment_first", "# set fBackColor below\r\nfBackColor=1;\r\n", 1,
                               "fBackColor reads line 1, which is a comment: # set fBackColor below"},
                      LintCase{"other_keys_value", "tCaption=fForeColor;\r\nfForeColor=2;\r\n", 1,
                               "fForeColor reads line 1, which is the setting of tCaption: tCaption=fForeColor;"},
                      LintCase{"no_semicolon", "mMIDI=song.mid\r\n", 1,
                               "mMIDI: the line has no \";\" after the value, so the key counts as missing"},
                      LintCase{"equals_inside_the_value", "tCaption=A=B;\r\n", 1,
                               "tCaption: the value is read after the last \"=\" before the \";\", giving 'B'"},
                      LintCase{"strict_number", "drHeight=12abc;\r\n", 1, "drHeight: '12abc' is not a number"},
                      LintCase{"colour_range", "fBackColor=16;\r\n", 1,
                               "fBackColor: '16' is not a colour number from 0 to 15"},
                      LintCase{"negative_size", "iHeight=-5;\r\n", 1, "iHeight: '-5' is a negative size"},
                      // "mInstall" stands inside "mConfirmInstall", so its own line must come first.
                      LintCase{"boolean", "mInstall=;\r\nmConfirmInstall=yes;\r\n", 2,
                               "mConfirmInstall: 'yes' is neither TRUE, FALSE nor a number"},
                      LintCase{"missing_cue", "mStartUp=hello.wav;\r\n", 1,
                               "mStartUp: 'hello.wav' is not beside the configuration file"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(LintTest, NamesAShorterKeyCapturedByALongerOne) {
    const auto findings = lint("mConfirmInstall=TRUE;\r\nmInstall=;\r\n");
    ASSERT_EQ(findings.size(), 1U);
    EXPECT_EQ(findings[0].message,
              "mInstall reads line 1, which is the setting of mConfirmInstall: mConfirmInstall=TRUE;");
}

TEST(LintTest, AcceptsGoodValuesAndPresentMedia) {
    EXPECT_TRUE(lint("iPicture=LOGO.BMP;\r\nmMIDI=song.mid;\r\ntBackColor=&HC;\r\ndbTop=-20;\r\n  tCaption = A;x\r\n",
                     {"LOGO.BMP", "song.mid"})
                    .empty());
}

} // namespace
} // namespace spindeck::config
