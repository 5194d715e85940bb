#include "config/inifile.h"
#include "lookup_cases.h"

#include <fstream>
#include <gtest/gtest.h>

namespace spindeck::config {
namespace {

class LookupTest : public ::testing::TestWithParam<testing::LookupCase> {};

TEST_P(LookupTest, GivesTheValueOfTheFirstLineHoldingTheKey) {
    const auto& c = GetParam();
    const IniLookup found = IniDocument::fromBytes(c.file).lookup(c.key);
    EXPECT_EQ(found.value.value_or(std::string(kNoUsableLine)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Rule, LookupTest, ::testing::ValuesIn(testing::kLookupCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(LookupTest, TellsNoUsableLineApartFromAValueOfMinusOne) {
    const auto ini = IniDocument::fromBytes("iTop=5\r\niLeft=-1;\r\n");
    EXPECT_EQ(ini.lookup("iTop").value, std::nullopt);
    EXPECT_EQ(ini.lookup("iTop").line, 1);
    EXPECT_EQ(ini.lookup("iLeft").value, "-1");
    EXPECT_EQ(ini.lookup("iLeft").line, 2);
    EXPECT_EQ(ini.lookup("iWidth").line, 0);
}

TEST(LookupTest, SplitsLinesAtEveryKindOfLineEnd) {
    const auto ini = IniDocument::fromBytes("a\r\nb\rc\nd\n\re");
    EXPECT_EQ(ini.lines(), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
}

TEST(ConfigPathTest, AddsOneBackslashBeforeTheFileName) {
    EXPECT_EQ(configPath("C:\\GAMES\\MENU"), "C:\\GAMES\\MENU\\QRV.INI");
    EXPECT_EQ(configPath("D:\\"), "D:\\QRV.INI");
}

TEST(GetIniValueTest, ReadsTheFileAndGivesMinusOneWhenItCannotBeRead) {
    const auto path = std::filesystem::path(::testing::TempDir()) / "getinivalue_QRV.INI";
    std::ofstream(path, std::ios::binary) << "tCaption=Demo Disc;\r\n";
    EXPECT_EQ(GetIniValue(path, "tCaption"), "Demo Disc");
    EXPECT_EQ(GetIniValue(path.string() + ".missing", "tCaption"), "-1");
    EXPECT_FALSE(IniDocument::load(path.string() + ".missing").has_value());
    EXPECT_FALSE(IniDocument::load(path.parent_path()).has_value()) << "a directory is not a file";
}

} // namespace
} // namespace spindeck::config
