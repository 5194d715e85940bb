#include "script/batchfile.h"
#include "script/substitutetags.h"
#include "support/scratch.h"

#include <gtest/gtest.h>

namespace spindeck::script {
namespace {

using platform::testing_support::ScratchDir;

// C: holds GAMES\DEMO and "Program Files\My Game"; the program starts on D:.
class TagsTest : public ::testing::Test {
protected:
    TagsTest() {
        std::filesystem::create_directories(m_scratch / "c" / "GAMES" / "DEMO");
        std::filesystem::create_directories(m_scratch / "c" / "Program Files" / "My Game");
        std::filesystem::create_directories(m_scratch / "d");
        files = std::make_unique<platform::DosFileSystem>(
            platform::DriveMap({platform::Drive{'C', m_scratch / "c", platform::DriveKind::Fixed, ""},
                                platform::Drive{'D', m_scratch / "d", platform::DriveKind::Fixed, ""}}),
            "D:\\");
    }
    [[nodiscard]] std::string current() const { return files->currentDirectory(files->currentDrive()); }

    ScratchDir m_scratch;
    std::unique_ptr<platform::DosFileSystem> files;
};

struct TagCase {
    std::string_view name;
    std::string_view installPath;
    std::string_view line;
    std::string_view converted;
    std::string_view currentAfter; // the program's current directory afterwards
};

std::ostream& operator<<(std::ostream& out, const TagCase& c) {
    return out << c.name;
}

class SubstituteTagsTest : public TagsTest, public ::testing::WithParamInterface<TagCase> {};

TEST_P(SubstituteTagsTest, ConvertsTheLine) {
    const auto& c = GetParam();
    EXPECT_EQ(SubstituteTags(c.line, c.installPath, *files), c.converted);
    EXPECT_EQ(current(), c.currentAfter);
}

constexpr std::string_view kDemo = "C:\\GAMES\\DEMO\\";

INSTANTIATE_TEST_SUITE_P(
    Lines, SubstituteTagsTest,
    ::testing::Values(
        // The worked example of the install section.
        TagCase{"unpack_to_temp", kDemo, "pkunzip -d -o yahoo.zip <TEMP>",
                "PKUNZIP -D -O YAHOO.ZIP c:\\games\\demo.qrv", "D:\\"},
        TagCase{"copy_temp_to_path", kDemo, "copy <temp>\\*.* <PATH>", "COPY c:\\games\\demo.qrv\\*.* c:\\games\\demo",
                "D:\\"},
        TagCase{"deltree_temp", kDemo, "deltree /y <temp>", "DELTREE /Y c:\\games\\demo.qrv", "D:\\"},
        TagCase{"goto_path_then_text", kDemo, "<GOTO PATH>setup", "SETUP", "C:\\GAMES\\DEMO"},
        TagCase{"unknown_tag_upper_cased", kDemo, "type a <nul", "TYPE A <NUL", "D:\\"},
        // Edge cases.
        TagCase{"empty_line", kDemo, "", "", "D:\\"},
        TagCase{"no_tag", kDemo, "echo Hello, World", "ECHO HELLO, WORLD", "D:\\"},
        TagCase{"mixed_case_tag", kDemo, "cd <pAtH>", "CD c:\\games\\demo", "D:\\"},
        TagCase{"blank_after_the_bracket", kDemo, "cd < path>", "CD < PATH>", "D:\\"},
        TagCase{"tag_to_the_end_of_the_line", kDemo, "copy a <path", "COPY A <PATH", "D:\\"},
        TagCase{"bracket_before_the_tag_joins_it", kDemo, "x <<path>", "X <<PATH>", "D:\\"},
        TagCase{"goto_temp_alone_leaves_an_empty_line", kDemo, "<goto temp>", "", "C:\\GAMES\\DEMO"},
        TagCase{"bytes_above_127_kept", kDemo, "echo caf\xE9 \x82t\xE9", "ECHO CAF\xE9 \x82T\xE9", "D:\\"},
        // The short form of long names, and none for a path that does not exist.
        TagCase{"long_names_give_their_short_form", "C:\\Program Files\\My Game\\", "copy *.* <PATH>",
                "COPY *.* c:\\progra~1\\mygame~1", "D:\\"},
        TagCase{"no_short_form", "C:\\NOPE\\", "copy <TEMP> <PATH>",
                "COPY <DOS filename can not be determined>.qrv <DOS filename can not be determined>", "D:\\"},
        // A drive root: the drive letter and colon stand for it; GOTO tags go to the root.
        TagCase{"drive_root_path_and_temp", "C:\\", "copy <TEMP> <PATH>", "COPY c:.qrv c:", "D:\\"},
        TagCase{"drive_root_goto_temp", "C:\\", "<GOTO TEMP>", "", "C:\\"},
        TagCase{"drive_root_goto_path_after_path", "C:\\", "<PATH><GOTO PATH>", "c:", "C:\\"},
        // GOTO before and after the path tag in one line.
        TagCase{"goto_path_before_path", kDemo, "<GOTO PATH>cd <PATH>", "CD c:\\games\\demo", "C:\\GAMES\\DEMO"},
        TagCase{"goto_path_after_path", kDemo, "cd <PATH><GOTO PATH>", "CD c:\\games\\demo", "C:\\GAMES\\DEMO"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(TagsTest, TheLastGotoOfAScriptDecides) {
    (void)SubstituteTags("<GOTO PATH>", "C:\\GAMES\\DEMO\\", *files);
    (void)SubstituteTags("<GOTO PATH>", "C:\\GAMES\\", *files);
    EXPECT_EQ(current(), "C:\\GAMES");
}

struct ScriptCase {
    std::string_view name;
    std::string_view qrvTxt;
    std::optional<std::vector<std::string>> script;
};

std::ostream& operator<<(std::ostream& out, const ScriptCase& c) {
    return out << c.name;
}

class InstallScriptTest : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(InstallScriptTest, TakesTheLinesAfterTheFirstHeader) {
    EXPECT_EQ(installScript(GetParam().qrvTxt), GetParam().script);
}

using Lines = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    Files, InstallScriptTest,
    ::testing::Values(ScriptCase{"no_header", "Just words\r\n", std::nullopt},
                      ScriptCase{"empty_file", "", std::nullopt},
                      ScriptCase{"header_is_the_last_line", "About\r\n[INSTALL X]\r\n", std::nullopt},
                      ScriptCase{"header_without_line_end_is_the_last_line", "[INSTALL X]", std::nullopt},
                      ScriptCase{"no_blank_is_no_header", "[INSTALL]\r\nMD X\r\n", std::nullopt},
                      ScriptCase{"lower_case_header", "[install x]\r\nmd <PATH>\r\n", Lines{"md <PATH>"}},
                      ScriptCase{"second_header_is_script", "[INSTALL A]\r\nmd a\r\n[INSTALL B]\r\nmd b\r\n",
                                 Lines{"md a", "[INSTALL B]", "md b"}},
                      ScriptCase{"empty_lines_kept", "[INSTALL A]\r\n\r\necho\r\n", Lines{"", "echo"}},
                      ScriptCase{"lone_lf_and_cr", "[INSTALL A]\nmd a\rmd b", Lines{"md a", "md b"}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(BatchFileTest, WritesTheTwoMovesThenTheConvertedLines) {
    const auto upper = [](std::string_view line) { return "<" + std::string(line) + ">"; };
    EXPECT_EQ(batchFileBytes("D:\\DEMO", {"a", "", "b"}, upper), "D:\r\nCD \"\\DEMO\"\r\n<a>\r\n<>\r\n<b>\r\n");
    EXPECT_EQ(batchFileBytes("D:\\", {"x"}, upper), "D:\r\nCD \"\\\"\r\n<x>\r\n");
}

TEST_F(TagsTest, TheWorkedExampleGivesItsBatchFile) {
    const auto script =
        installScript("A small demonstration program.\r\n[INSTALL Demo Tool]\r\n"
                      "pkunzip -d -o yahoo.zip <TEMP>\r\ncopy <temp>\\*.* <PATH>\r\ndeltree /y <temp>\r\n");
    ASSERT_TRUE(script);
    const auto bytes = batchFileBytes("D:\\DEMO", *script, [this](std::string_view line) {
        return SubstituteTags(line, "C:\\GAMES\\DEMO\\", *files);
    });
    EXPECT_EQ(bytes, "D:\r\nCD \"\\DEMO\"\r\nPKUNZIP -D -O YAHOO.ZIP c:\\games\\demo.qrv\r\n"
                     "COPY c:\\games\\demo.qrv\\*.* c:\\games\\demo\r\nDELTREE /Y c:\\games\\demo.qrv\r\n");
}

} // namespace
} // namespace spindeck::script
