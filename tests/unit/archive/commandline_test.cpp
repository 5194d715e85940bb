#include "platform/dospath.h"
#include "shell/archive/commandline.h"
#include "shell/archive/extraction.h"
#include "support/scratch.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace spindeck::shell::archive {
namespace {

using platform::testing_support::RowLabel;

struct ParseRow {
    std::string label;
    std::string program;
    std::vector<std::string> args;
    std::string archive;
    std::string target;
    std::vector<std::string> patterns;
    bool keepFolders;
    Overwrite overwrite;
    std::vector<std::string> ignored = {};
    std::vector<std::string> excluded = {};
};

class ParseTest : public testing::TestWithParam<ParseRow> {};

// Only "DATA" and "MENUS" exist as directories.
bool probe(std::string_view dosPath) {
    return platform::dospath::equalsIgnoringCase(dosPath, "DATA") ||
           platform::dospath::equalsIgnoringCase(dosPath, "MENUS");
}

TEST_P(ParseTest, ReadsTheProgramsSyntax) {
    const ParseRow& row = GetParam();
    auto request = parseCommandLine(*archiveProgram(row.program), row.args, probe);
    ASSERT_TRUE(request) << request.error().message;
    EXPECT_EQ(request->archive, row.archive);
    EXPECT_EQ(request->target, row.target);
    EXPECT_EQ(request->patterns, row.patterns);
    EXPECT_EQ(request->keepFolders, row.keepFolders);
    EXPECT_EQ(request->overwrite, row.overwrite);
    EXPECT_EQ(request->ignoredOptions, row.ignored);
    EXPECT_EQ(request->excluded, row.excluded);
}

// The rows marked "batch" are lines of real install batch files.
INSTANTIATE_TEST_SUITE_P(
    Programs, ParseTest,
    testing::Values(
        ParseRow{"pkunzip_batch_existing_target_then_switch",
                 "PKUNZIP",
                 {"data.zip", "data", "-o"},
                 "data.zip",
                 "data",
                 {},
                 false,
                 Overwrite::Always},
        ParseRow{
            "pkunzip_batch_keep_folders", "PKUNZIP", {"-d", "C:\\TMP\\X"}, "C:\\TMP\\X", "", {}, true, Overwrite::Ask},
        ParseRow{"pkunzip_batch_upper_case_switches",
                 "PKUNZIP",
                 {"-D", "-O", "YAHOO.ZIP", "c:\\games\\demo.qrv\\"},
                 "YAHOO.ZIP",
                 "c:\\games\\demo.qrv\\",
                 {},
                 true,
                 Overwrite::Always},
        ParseRow{"pkunzip_missing_path_is_a_target",
                 "PKUNZIP",
                 {"-D", "-O", "YAHOO.ZIP", "c:\\games\\demo.qrv"},
                 "YAHOO.ZIP",
                 "c:\\games\\demo.qrv",
                 {},
                 true,
                 Overwrite::Always},
        ParseRow{"pkunzip_path_with_wildcard_is_a_pattern",
                 "PKUNZIP",
                 {"A.ZIP", "DATA\\*.DAT"},
                 "A.ZIP",
                 "",
                 {"DATA\\*.DAT"},
                 false,
                 Overwrite::Ask},
        ParseRow{"pkunzip_grouped_switches_and_patterns",
                 "PKUNZIP",
                 {"-don", "A.ZIP", "*.EXE", "README"},
                 "A.ZIP",
                 "",
                 {"*.EXE", "README"},
                 true,
                 Overwrite::NewerOnly},
        ParseRow{"pkunzip_missing_folder_is_a_pattern_without_separator",
                 "PKUNZIP",
                 {"A.ZIP", "GAME"},
                 "A.ZIP",
                 "",
                 {"GAME"},
                 false,
                 Overwrite::Ask},
        ParseRow{"pkunzip_drive_alone_is_a_target",
                 "PKUNZIP",
                 {"/e", "A.ZIP", "D:"},
                 "A.ZIP",
                 "D:",
                 {},
                 false,
                 Overwrite::Ask},
        ParseRow{
            "pkunzip_unknown_switch_is_reported", "PKUNZIP", {"-$", "A"}, "A", "", {}, false, Overwrite::Ask, {"-$"}},
        ParseRow{"unzip_keeps_folders_and_takes_d",
                 "UNZIP",
                 {"-o", "A.ZIP", "-d", "OUT", "*.TXT"},
                 "A.ZIP",
                 "OUT",
                 {"*.TXT"},
                 true,
                 Overwrite::Always},
        ParseRow{"unzip_junk_paths_never_overwrite",
                 "UNZIP",
                 {"-qjn", "A.ZIP", "DATA"},
                 "A.ZIP",
                 "",
                 {"DATA"},
                 false,
                 Overwrite::Never},
        ParseRow{"unzip_x_names_files_left_out",
                 "UNZIP",
                 {"A.ZIP", "*.DAT", "-x", "BIG.DAT", "OLD*.DAT", "-d", "OUT"},
                 "A.ZIP",
                 "OUT",
                 {"*.DAT"},
                 true,
                 Overwrite::Ask,
                 {},
                 {"BIG.DAT", "OLD*.DAT"}},
        ParseRow{"pkunzip_x_names_a_file_left_out",
                 "PKUNZIP",
                 {"-xREADME.TXT", "A.ZIP"},
                 "A.ZIP",
                 "",
                 {},
                 false,
                 Overwrite::Ask,
                 {},
                 {"README.TXT"}},
        ParseRow{"unzip_attached_directory", "UNZIP", {"A.ZIP", "-dOUT"}, "A.ZIP", "OUT", {}, true, Overwrite::Ask},
        ParseRow{"lha_batch_x_with_patterns",
                 "LHA",
                 {"x", "C:\\TMP\\GAME", "*.*"},
                 "C:\\TMP\\GAME",
                 "",
                 {"*.*"},
                 true,
                 Overwrite::Ask},
        ParseRow{"lha_batch_e_flat", "LHA", {"e", "A:\\engine.lzh"}, "A:\\engine.lzh", "", {}, false, Overwrite::Ask},
        ParseRow{"lha_switches_with_values",
                 "LHARC",
                 {"e", "/x1", "/m", "/n", "A", "MENUS"},
                 "A",
                 "MENUS",
                 {},
                 true,
                 Overwrite::NewerOnly},
        ParseRow{"lha_c_overwrites",
                 "LHA32",
                 {"X", "-c", "A", "C:\\OUT\\", "*.DAT"},
                 "A",
                 "C:\\OUT\\",
                 {"*.DAT"},
                 true,
                 Overwrite::Always},
        ParseRow{"unrar_target_last",
                 "UNRAR",
                 {"x", "-o+", "A.RAR", "*.TXT", "C:\\OUT\\"},
                 "A.RAR",
                 "C:\\OUT\\",
                 {"*.TXT"},
                 true,
                 Overwrite::Always},
        ParseRow{"unrar_e_never_overwrite",
                 "UNRAR",
                 {"e", "-o-", "-inul", "A"},
                 "A",
                 "",
                 {},
                 false,
                 Overwrite::Never,
                 {"-inul"}},
        ParseRow{"arj_batch_switch_after_command",
                 "ARJ",
                 {"x", "-y", "C:\\TMP\\GAME"},
                 "C:\\TMP\\GAME",
                 "",
                 {},
                 true,
                 Overwrite::Always},
        ParseRow{"arj_batch_delete_switch_ignored",
                 "ARJ",
                 {"x", "-d", "graphpri.arj"},
                 "graphpri.arj",
                 "",
                 {},
                 true,
                 Overwrite::Ask,
                 {"-d"}},
        ParseRow{"unarj_batch_e", "UNARJ", {"e", "loco.arj"}, "loco.arj", "", {}, false, Overwrite::Ask},
        ParseRow{"arj_target_and_pattern",
                 "ARJ",
                 {"e", "A", "C:\\OUT\\", "*.TXT"},
                 "A",
                 "C:\\OUT\\",
                 {"*.TXT"},
                 false,
                 Overwrite::Ask}),
    RowLabel());

struct BadLineRow {
    std::string label;
    std::string program;
    std::vector<std::string> args;
    std::string message;
};

class BadLineTest : public testing::TestWithParam<BadLineRow> {};

TEST_P(BadLineTest, IsRefusedWithAMessage) {
    const BadLineRow& row = GetParam();
    auto request = parseCommandLine(*archiveProgram(row.program), row.args, probe);
    ASSERT_FALSE(request);
    EXPECT_EQ(request.error().message, row.message);
    EXPECT_NE(request.error().errorlevel, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, BadLineTest,
    testing::Values(BadLineRow{"no_archive", "PKUNZIP", {"-d"}, "PKUNZIP: no archive named"},
                    BadLineRow{"no_command", "LHA", {}, "LHA: no command given (x or e)"},
                    BadLineRow{"adding_is_not_extracting",
                               "ARJ",
                               {"a", "X.ARJ"},
                               "ARJ: command a not supported (only x and e extract here)"},
                    BadLineRow{"d_without_directory", "UNZIP", {"A.ZIP", "-d"}, "UNZIP: -d needs a directory"}),
    RowLabel());

TEST(ArchiveProgramTest, KnowsTheNamesWithPathAndExtension) {
    EXPECT_EQ(archiveProgram("PKUNZIP"), ArchiveProgram::Pkunzip);
    EXPECT_EQ(archiveProgram("C:\\NOS\\LHA.EXE"), ArchiveProgram::Lha);
    EXPECT_EQ(archiveProgram("unarj.exe"), ArchiveProgram::Unarj);
    EXPECT_EQ(archiveProgram("PKZIP"), std::nullopt);
    EXPECT_EQ(archiveProgram("ARJX"), std::nullopt);
}

struct PatternRow {
    std::string label;
    std::string pattern;
    std::vector<std::string> components;
    bool matches;
};

class PatternTest : public testing::TestWithParam<PatternRow> {};

TEST_P(PatternTest, MatchesAsDosDoes) {
    EXPECT_EQ(matchesPattern(GetParam().pattern, GetParam().components), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, PatternTest,
    testing::Values(PatternRow{"star_dot_star_takes_all", "*.*", {"DATA", "README"}, true},
                    PatternRow{"extension_any_case", "*.exe", {"GAME.EXE"}, true},
                    PatternRow{"name_only_looks_at_last_name", "*.DAT", {"DATA.DIR", "X.TXT"}, false},
                    PatternRow{"question_mark_is_one_char", "LEVEL?.DAT", {"LEVEL10.DAT"}, false},
                    PatternRow{"name_dot_star_takes_no_extension", "READ*.*", {"README"}, true},
                    PatternRow{"path_pattern", "data\\sub\\*", {"DATA", "SUB", "X.DAT"}, true},
                    PatternRow{"path_pattern_star_stays_in_its_folder", "DATA\\*", {"DATA", "SUB", "X"}, false},
                    PatternRow{"plain_name", "setup.exe", {"SETUP.EXE"}, true}),
    RowLabel());

struct NameRow {
    std::string label;
    std::string stored;
    std::optional<std::vector<std::string>> components;
};

class SafeNameTest : public testing::TestWithParam<NameRow> {};

TEST_P(SafeNameTest, SplitsOrRefuses) {
    EXPECT_EQ(safeComponents(GetParam().stored), GetParam().components);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SafeNameTest,
    testing::Values(NameRow{"plain", "README.TXT", std::vector<std::string>{"README.TXT"}},
                    NameRow{"both_separators", "DATA\\SUB/X.DAT", std::vector<std::string>{"DATA", "SUB", "X.DAT"}},
                    NameRow{"dots_and_empty_parts_dropped", "./DATA//X", std::vector<std::string>{"DATA", "X"}},
                    NameRow{"parent_refused", "DATA/../../X", std::nullopt},
                    NameRow{"absolute_refused", "/etc/passwd", std::nullopt},
                    NameRow{"absolute_dos_refused", "\\AUTOEXEC.BAT", std::nullopt},
                    NameRow{"drive_refused", "C:AUTOEXEC.BAT", std::nullopt},
                    NameRow{"nothing_left", "./", std::nullopt}),
    RowLabel());

TEST(EntryNameTextTest, KeepsUtf8AndReadsOtherBytesAsTheDosCodePage) {
    EXPECT_EQ(entryNameText("M\xC3\xBC"
                            "LL.TXT"),
              "M\xC3\xBC"
              "LL.TXT");
    // 0x81 is u with diaeresis and 0xE1 sharp s in code page 437.
    EXPECT_EQ(entryNameText("M\x81"
                            "LL\xE1.TXT"),
              "M\xC3\xBC"
              "LL\xC3\x9F.TXT");
}

} // namespace
} // namespace spindeck::shell::archive
