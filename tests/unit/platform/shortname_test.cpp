#include "platform/shortname.h"
#include "support/scratch.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace spindeck::platform {
namespace {

using testing_support::RowLabel;

struct ShortNameCase {
    const char* label;
    std::string name;
    bool valid;
};

class IsShortNameTest : public testing::TestWithParam<ShortNameCase> {};

TEST_P(IsShortNameTest, TellsValidShortNames) {
    EXPECT_EQ(isShortName(GetParam().name), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Table, IsShortNameTest,
                         testing::Values(ShortNameCase{"upper_case_name_and_extension", "README.TXT", true},
                                         ShortNameCase{"lower_case_is_kept_as_valid", "readme.txt", true},
                                         ShortNameCase{"eight_and_three", "ABCDEFGH.ABC", true},
                                         ShortNameCase{"no_extension", "SETUP", true},
                                         ShortNameCase{"punctuation_DOS_allows", "A!#$%&'(.)-@", true},
                                         ShortNameCase{"tilde_as_in_an_alias", "PROGRA~1", true},
                                         ShortNameCase{"bytes_above_0x7f", "CAF\xC3\xA9.TXT", true},
                                         ShortNameCase{"nine_character_base", "ABCDEFGHI.TXT", false},
                                         ShortNameCase{"four_character_extension", "INDEX.HTML", false},
                                         ShortNameCase{"two_dots", "A.B.C", false},
                                         ShortNameCase{"space", "MY FILE", false},
                                         ShortNameCase{"plus_sign", "C++.TXT", false},
                                         ShortNameCase{"leading_dot", ".BASHRC", false},
                                         ShortNameCase{"trailing_dot", "FILE.", false},
                                         ShortNameCase{"empty", "", false}, ShortNameCase{"dot_alone", ".", false}),
                         RowLabel());

struct AliasCase {
    const char* label;
    std::string name;
    std::string alias;
};

class SingleAliasTest : public testing::TestWithParam<AliasCase> {};

TEST_P(SingleAliasTest, MakesTheAlias) {
    const std::vector<std::string> names = {GetParam().name};
    EXPECT_EQ(shortNames(names), std::vector<std::string>{GetParam().alias});
}

INSTANTIATE_TEST_SUITE_P(
    Table, SingleAliasTest,
    testing::Values(AliasCase{"valid_name_is_its_own", "setup.exe", "setup.exe"},
                    AliasCase{"spaces_dropped_basis_cut_to_six", "Program Files", "PROGRA~1"},
                    AliasCase{"long_extension_cut_to_three", "index.html", "INDEX~1.HTM"},
                    AliasCase{"last_extension_counts_other_dots_dropped", "archive.tar.gz", "ARCHIV~1.GZ"},
                    AliasCase{"leading_dots_stripped", ".bashrc", "BASHRC~1"},
                    AliasCase{"forbidden_characters_become_underscore", "a+b=c.txt", "A_B_C~1.TXT"},
                    AliasCase{"forbidden_characters_in_extension", "notes.t[1]", "NOTES~1.T_1"},
                    AliasCase{"short_basis_stays_short", "C++.TXT", "C__~1.TXT"},
                    AliasCase{"nothing_left_of_the_basis_gives_underscore", "   .txt", "_~1.TXT"},
                    AliasCase{"trailing_dot_leaves_no_extension", "file.", "FILE~1"},
                    AliasCase{"utf8_sequence_not_cut_in_two", "abcde\xC3\xA9 x.txt", "ABCDE~1.TXT"},
                    AliasCase{"utf8_sequence_kept_whole", "caf\xC3\xA9 noir.txt", "CAF\xC3\xA9N~1.TXT"}),
    RowLabel());

TEST(ShortNamesTest, CountsInByteOrderAmongNamesSharingBasisAndExtension) {
    // "Program Data" sorts before "Program Files", so it takes ~1 whatever the order given.
    const std::vector<std::string> names = {"Program Files", "programs.txt", "Program Data", "readme.txt",
                                            "Programmer.doc"};
    const std::vector<std::string> expected = {"PROGRA~2", "programs.txt", "PROGRA~1", "readme.txt", "PROGRA~1.DOC"};
    EXPECT_EQ(shortNames(names), expected);
}

TEST(ShortNamesTest, SkipsAnAliasThatASiblingHasAsItsRealName) {
    // The real "progra~1" keeps its name, so no other file may take it whatever the case.
    const std::vector<std::string> names = {"Program Files", "progra~1", "Program Data"};
    const std::vector<std::string> expected = {"PROGRA~3", "progra~1", "PROGRA~2"};
    EXPECT_EQ(shortNames(names), expected);
}

TEST(ShortNamesTest, BasisGivesWayWhenTheNumberGrows) {
    std::vector<std::string> names;
    names.reserve(100);
    for (int i = 0; i < 100; ++i) {
        names.push_back("Long name " + std::string(i < 10 ? "0" : "") + std::to_string(i));
    }
    const std::vector<std::string> aliases = shortNames(names);
    EXPECT_EQ(aliases[0], "LONGNA~1");
    EXPECT_EQ(aliases[8], "LONGNA~9");
    EXPECT_EQ(aliases[9], "LONGN~10");
    EXPECT_EQ(aliases[99], "LONG~100");
}

TEST(ShortNamesTest, EveryAliasIsAValidShortNameAndUniqueIgnoringCase) {
    // Names that crowd the same bases and extensions, with real 8.3 names that look like aliases.
    std::vector<std::string> names;
    for (int i = 0; i < 1200; ++i) {
        names.push_back("Shared basis " + std::to_string(i) + (i % 3 == 0 ? ".text" : ""));
        names.push_back("Share" + std::to_string(i % 40) + " x");
    }
    for (int i = 1; i < 30; i += 3) {
        names.push_back("sharedb~" + std::to_string(i));
        names.push_back("SHARE0~" + std::to_string(i));
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());

    const std::vector<std::string> aliases = shortNames(names);
    ASSERT_EQ(aliases.size(), names.size());
    std::set<std::string> seen;
    for (std::size_t i = 0; i < aliases.size(); ++i) {
        EXPECT_TRUE(isShortName(aliases[i])) << names[i] << " -> " << aliases[i];
        std::string upper = aliases[i];
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
        EXPECT_TRUE(seen.insert(upper).second) << "duplicate alias " << aliases[i] << " for " << names[i];
    }
}

} // namespace
} // namespace spindeck::platform
