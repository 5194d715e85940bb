#include "shell/wildcard.h"
#include "support/scratch.h"

#include <gtest/gtest.h>

namespace spindeck::shell {
namespace {

using platform::testing_support::RowLabel;

struct MatchCase {
    std::string label;
    std::string pattern;
    std::string name;
    bool matches;
};

class Wildcards : public ::testing::TestWithParam<MatchCase> {};

// As MS-DOS 6.22 matches: name and extension apart, "*" fills its part.
TEST_P(Wildcards, MatchLikeDos) {
    EXPECT_EQ(matchesWildcard(GetParam().pattern, GetParam().name), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(Shell, Wildcards,
                         ::testing::Values(MatchCase{"star_dot_star_all", "*.*", "SETUP.EXE", true},
                                           MatchCase{"star_dot_star_no_extension", "*.*", "README", true},
                                           MatchCase{"star_only_no_extension", "*", "README", true},
                                           MatchCase{"star_only_skips_extension", "*", "SETUP.EXE", false},
                                           MatchCase{"extension", "*.lst", "ENGINE.LST", true},
                                           MatchCase{"other_extension", "*.lst", "ENGINE.LZH", false},
                                           MatchCase{"prefix", "fq4.*", "FQ4.DAT", true},
                                           MatchCase{"question_marks", "LEVEL??.MAP", "LEVEL01.MAP", true},
                                           MatchCase{"question_mark_matches_short", "A?.TXT", "A.TXT", true},
                                           MatchCase{"text_after_star_ignored", "G*ZZ.EXE", "GAME.EXE", true},
                                           MatchCase{"star_dot", "*.", "README", true},
                                           MatchCase{"star_dot_with_extension", "*.", "A.TXT", false}),
                         RowLabel{});

TEST(TargetPattern, BuildsNamesAsCopyAndRenDo) {
    EXPECT_EQ(nameFromPattern("config.sys", "*.old"), "config.old");
    EXPECT_EQ(nameFromPattern("Readme.markdown", "*.*"), "Readme.markdown");
    EXPECT_EQ(nameFromPattern("LEVEL01.MAP", "??????X.*"), "LEVEL0X.MAP");
    EXPECT_EQ(nameFromPattern("a.txt", "b.*"), "b.txt");
    EXPECT_EQ(nameFromPattern("data.txt", "*."), "data");
}

} // namespace
} // namespace spindeck::shell
