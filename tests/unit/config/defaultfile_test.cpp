#include "config/defaultfile.h"
#include "config/inifile.h"
#include "config/keytable.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace spindeck::config {
namespace {

TEST(DefaultFileTest, Has162CrLfLinesEndingWithAnEmptyOne) {
    const std::string bytes = defaultFileBytes();
    ASSERT_EQ(defaultFileLines().size(), 162U);
    EXPECT_TRUE(bytes.ends_with("mConfirmInstall=TRUE;  TRUE/FALSE\r\n\r\n"));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 162);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 162);
    for (const auto line : defaultFileLines()) {
        EXPECT_EQ(line.find_first_of("\r\n"), std::string_view::npos);
        for (const char c : line) {
            EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "plain ASCII only: " << line;
        }
    }
    const auto lines = defaultFileLines();
    EXPECT_TRUE(lines[0].starts_with("# ") && lines[1].starts_with("# ")) << "two attribution comments";
}

TEST(DefaultFileTest, KeepsTheBannerFramesAndTheShortLine92) {
    const auto lines = defaultFileLines();
    for (const int number : {19, 20, 25, 88, 89, 93, 94, 144, 149}) {
        EXPECT_EQ(lines[static_cast<std::size_t>(number - 1)].size(), 78U) << "line " << number;
    }
    EXPECT_EQ(lines[91], "###     The  Button.                                          ###");
    EXPECT_EQ(lines[91].size(), 65U);
    EXPECT_EQ(lines[36], "tForeColor=;           ANSI Value - ") << "line 37 ends with a space";
    EXPECT_EQ(lines[151].find('#'), 21U) << "[MISC] comment in column 22";
    EXPECT_EQ(lines[39].find("FONT"), 23U) << "main part comments in column 24";
    EXPECT_EQ(lines[107].find("FONT"), 24U) << "install part comments in column 25";
}

// Every key the program reads finds its own setting line; the idb keys find the one under
// [DISKFREEBOX], never the repeat under [DIRBOX].
TEST(DefaultFileTest, EveryKeyFindsItsOwnLine) {
    const auto ini = IniDocument::fromBytes(defaultFileBytes());
    const std::set<std::string_view> withValues{"iPicture", "iiPicture", "mSplashLogo", "mConfirmInstall"};
    for (const KeyRow& row : keyTable()) {
        const IniLookup found = ini.lookup(row.key);
        ASSERT_GT(found.line, 0) << row.key;
        const std::string& line = ini.lines()[static_cast<std::size_t>(found.line - 1)];
        EXPECT_TRUE(line.starts_with(std::string(row.key) + "=")) << row.key << " read line " << found.line;
        EXPECT_EQ(found.value.has_value() && !found.value->empty(), withValues.contains(row.key)) << row.key;
        if (row.key.starts_with("idb")) {
            EXPECT_GE(found.line, 117);
            EXPECT_LE(found.line, 123);
        }
    }
    EXPECT_EQ(ini.lookup("mConfirmInstall").value, "TRUE");
    EXPECT_EQ(ini.lookup("mSplashLogo").value, "QRV.BMP");
}

} // namespace
} // namespace spindeck::config
