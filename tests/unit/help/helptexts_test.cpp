#include "help/helptexts.h"

#include <gtest/gtest.h>

namespace spindeck::help {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(kLineBreak, start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

TEST(HelpTextsTest, CommandsListTheKeysWithoutF7) {
    const std::string text = commandsText();
    EXPECT_EQ(linesOf(text),
              (std::vector<std::string>{"Supported Commands:", "", "CTRL-[DriveLetter]  - Changes Drives",
                                        "F5 - Toggle Music", "F6 - Toggle Sounds"}));
    EXPECT_EQ(text.find("F7"), std::string::npos);
    EXPECT_EQ(text.find('\r'), text.find('\n') + 1) << "line feed, then carriage return";
}

TEST(HelpTextsTest, ConfiguringHasFifteenLinesAndALongFifth) {
    const auto lines = linesOf(configuringText());
    ASSERT_EQ(lines.size(), 15U);
    EXPECT_EQ(lines[4].size(), 230U);
    EXPECT_EQ(lines[13], "");
    EXPECT_EQ(lines[14], "NOTE: Tags DO NOT have trailing backslashes!");
    EXPECT_EQ(lines[3], "Program Descriptions and Installation ");
    EXPECT_EQ(lines[10], "        copy <temp>\\*.* <PATH>");
}

TEST(HelpTextsTest, AboutNamesTheProgramInFiveLines) {
    const auto lines = linesOf(aboutText());
    ASSERT_EQ(lines.size(), 5U);
    EXPECT_EQ(lines[0], "Spindeck");
}

} // namespace
} // namespace spindeck::help
