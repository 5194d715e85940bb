#include "script/qrvtxt.h"

#include <gtest/gtest.h>

namespace spindeck::script {
namespace {

struct DescribeCase {
    std::string_view name;
    std::string_view file;
    std::string_view text;
    std::optional<std::string> installName;
};

std::ostream& operator<<(std::ostream& out, const DescribeCase& c) {
    return out << c.name;
}

class DescribeTest : public ::testing::TestWithParam<DescribeCase> {};

TEST_P(DescribeTest, ShowsTheLinesBeforeTheFirstHeader) {
    const auto& c = GetParam();
    const QrvDescription description = describe(std::string(c.file));
    EXPECT_EQ(description.text, c.text);
    EXPECT_EQ(description.installName, c.installName);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DescribeTest,
    ::testing::Values(
        DescribeCase{"three_lines_without_header", "one\r\ntwo\r\nthree\r\n", "one\r\ntwo\r\nthree\r\n", std::nullopt},
        DescribeCase{"empty_file", "", "", std::nullopt},
        DescribeCase{"header_in_lower_case_first", "[install My Game]\r\nCOPY A B\r\n", "", "My Game"},
        DescribeCase{"marker_inside_a_line", "About\r\nRun setup [INSTALL Tool] now\r\nX\r\n", "About\r\n", "Tool"},
        DescribeCase{"no_blank_after_the_word_is_no_header", "[INSTALL]\r\n", "[INSTALL]\r\n", std::nullopt},
        DescribeCase{"empty_name", "Text\r\n[INSTALL ]\r\n", "Text\r\n", ""},
        DescribeCase{"first_of_two_headers", "[INSTALL One]\r\n[INSTALL Two]\r\n", "", "One"},
        DescribeCase{"name_without_closing_bracket_is_the_rest", "[INSTALL Space Game\r\n", "", "Space Game"},
        DescribeCase{"name_ends_at_the_first_bracket", "[INSTALL A]B]\r\n", "", "A"},
        DescribeCase{"last_line_without_line_end", "a\r\nb", "a\r\nb\r\n", std::nullopt},
        DescribeCase{"lone_lf_ends_a_line", "a\nb\n[INSTALL X]\n", "a\nb\n", "X"},
        DescribeCase{"lone_cr_ends_a_line", "a\rb\r", "a\rb\r", std::nullopt},
        DescribeCase{"blank_lines_kept", "a\r\n\r\nb\r\n", "a\r\n\r\nb\r\n", std::nullopt},
        DescribeCase{"bracket_before_the_marker", "x [[install A]\r\n", "", "A"},
        DescribeCase{"header_after_a_lone_lf", "a\n[INSTALL B]", "a\n", "B"},
        DescribeCase{"high_bytes_kept", "\xC9\xCD\xBB\r\n", "\xC9\xCD\xBB\r\n", std::nullopt}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(DescribeTest, IsLinearForALargeFileWithoutHeader) {
    std::string file;
    for (int i = 0; i < 200000; ++i) {
        file += "A description line of moderate length, as real discs carry.\r\n";
    }
    EXPECT_EQ(describe(file).text, file);
}

} // namespace
} // namespace spindeck::script
