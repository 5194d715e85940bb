#include "shell/commandline.h"
#include "support/scratch.h"

#include <gtest/gtest.h>

namespace spindeck::shell {
namespace {

using platform::testing_support::RowLabel;

struct LinesCase {
    std::string label;
    std::string bytes;
    std::vector<std::string> lines;
};

class BatchLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(BatchLines, SplitAsDosReadsThem) {
    const auto lines = splitBatchLines(GetParam().bytes);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Shell, BatchLines,
    ::testing::Values(LinesCase{"crlf", "a\r\nb\r\n", {"a", "b"}}, LinesCase{"lf_only", "a\nb", {"a", "b"}},
                      LinesCase{"mixed_line_ends", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
                      LinesCase{"empty_lines_kept", "a\r\n\r\nb", {"a", "", "b"}},
                      // Text after ^Z is not part of the file for DOS (corpus B7, B19, B28 end so).
                      LinesCase{"text_after_ctrl_z_ignored", "a\r\n\x1a garbage\r\necho no", {"a"}},
                      LinesCase{"empty_file", "", {}}),
    RowLabel{});

TEST(BatchLinesRefused, NulBytesAndOverlongLinesNameTheLine) {
    const auto binary = splitBatchLines(std::string("echo a\r\nMZ\0\x90", 12));
    ASSERT_FALSE(binary.has_value());
    EXPECT_EQ(binary.error().line, 2U);
    const auto longLine = splitBatchLines("echo a\n" + std::string(100000, 'x'));
    ASSERT_FALSE(longLine.has_value());
    EXPECT_EQ(longLine.error().line, 2U);
}

struct ExpandCase {
    std::string label;
    std::string line;
    std::string expanded;
};

class Expansion : public ::testing::TestWithParam<ExpandCase> {};

TEST_P(Expansion, ReplacesParametersAndVariablesAsDosDoes) {
    const std::vector<std::string> parameters{"INSTALL", "C:", "\\GAMES"};
    const VariableLookup lookup = [](std::string_view name) -> std::optional<std::string> {
        if (name == "WHAT") {
            return "D";
        }
        return std::nullopt;
    };
    EXPECT_EQ(expandPercents(GetParam().line, parameters, lookup), GetParam().expanded);
}

INSTANTIATE_TEST_SUITE_P(Shell, Expansion,
                         ::testing::Values(ExpandCase{"parameters_glued", "md %1%2", "md C:\\GAMES"},
                                           ExpandCase{"parameter_zero", "if \"%0\"==\"INSTALL\"",
                                                      "if \"INSTALL\"==\"INSTALL\""},
                                           ExpandCase{"missing_parameter_empty", "if %3.==. goto x", "if .==. goto x"},
                                           ExpandCase{"variable_any_case", "%what%:\\SIERRA", "D:\\SIERRA"},
                                           ExpandCase{"undefined_variable_empty", "[%NOPE%]", "[]"},
                                           // "%%1" in an ECHO that writes another batch file (corpus B11).
                                           ExpandCase{"double_percent", "echo %%1 >>x.bat", "echo %1 >>x.bat"},
                                           ExpandCase{"parameter_before_text", "%1DEARJ x", "C:DEARJ x"},
                                           ExpandCase{"lone_percent_dropped", "echo 50%", "echo 50"}),
                         RowLabel{});

struct PipelineCase {
    std::string label;
    std::string line;
    std::vector<std::string> texts;
    std::optional<std::string> input = std::nullopt;
    std::optional<std::string> output = std::nullopt;
    bool append = false;
};

class Pipelines : public ::testing::TestWithParam<PipelineCase> {};

TEST_P(Pipelines, TakeRedirectionsOutWhereverTheyStand) {
    const auto stages = splitPipeline(GetParam().line);
    ASSERT_TRUE(stages.has_value());
    ASSERT_EQ(stages->size(), GetParam().texts.size());
    for (std::size_t i = 0; i < stages->size(); ++i) {
        EXPECT_EQ(trimBlanks((*stages)[i].text), GetParam().texts[i]) << i;
    }
    EXPECT_EQ(stages->front().redirections.input, GetParam().input);
    EXPECT_EQ(stages->back().redirections.output, GetParam().output);
    EXPECT_EQ(stages->back().redirections.append, GetParam().append);
}

INSTANTIATE_TEST_SUITE_P(
    Shell, Pipelines,
    ::testing::Values(
        PipelineCase{"at_the_end", "copy a b >nul", {"copy a b"}, std::nullopt, "nul"},
        // "copy >nul pcs.exe %1%2" in corpus B28: DOS takes the redirection out first.
        PipelineCase{"before_the_arguments", "copy >nul pcs.exe c:", {"copy  pcs.exe c:"}, std::nullopt, "nul"},
        PipelineCase{
            "append_without_blank", "echo x >>%1_install.bat", {"echo x"}, std::nullopt, "%1_install.bat", true},
        PipelineCase{"input_and_output", "sort < in.txt > out.txt", {"sort"}, "in.txt", "out.txt"},
        PipelineCase{"pipe", "type readme | more", {"type readme", "more"}},
        PipelineCase{"quoted_text_kept", "echo \"a > b\"", {"echo \"a > b\""}}),
    RowLabel{});

TEST(PipelineErrors, RedirectionWithoutTargetOrEmptyStageIsASyntaxError) {
    EXPECT_FALSE(splitPipeline("echo x >").has_value());
    EXPECT_FALSE(splitPipeline("echo x | ").has_value());
    EXPECT_FALSE(splitPipeline("| more").has_value());
}

struct WordCase {
    std::string label;
    std::string text;
    std::string name;
    std::string tail;
};

class CommandWords : public ::testing::TestWithParam<WordCase> {};

TEST_P(CommandWords, EndAtTheDelimitersDosKnows) {
    const CommandWord word = internalCommandWord(GetParam().text);
    EXPECT_EQ(word.name, GetParam().name);
    EXPECT_EQ(word.tail, GetParam().tail);
}

INSTANTIATE_TEST_SUITE_P(Shell, CommandWords,
                         ::testing::Values(WordCase{"cd_backslash", "CD\\", "CD", "\\"},
                                           WordCase{"cd_dot_dot", "cd..", "CD", ".."},
                                           WordCase{"echo_dot", "ECHO.", "ECHO", "."},
                                           WordCase{"echo_semicolon", "echo;", "ECHO", ";"},
                                           WordCase{"switch_glued", "Copy/B  *.* c:", "COPY", "/B  *.* c:"},
                                           WordCase{"tab_indented", "\tmkdir c:\\apchdemo", "MKDIR", " c:\\apchdemo"}),
                         RowLabel{});

TEST(Arguments, SplitAtDosSeparatorsSwitchesAndPlus) {
    EXPECT_EQ(splitArguments(" *.* /s c:\\CANNON"), (std::vector<std::string>{"*.*", "/s", "c:\\CANNON"}));
    EXPECT_EQ(splitArguments("*.*/S/E"), (std::vector<std::string>{"*.*", "/S", "/E"}));
    EXPECT_EQ(splitArguments("Config.old+tmp config.sys"),
              (std::vector<std::string>{"Config.old", "+", "tmp", "config.sys"}));
    EXPECT_EQ(splitArguments(" \"\\MY DIR\",x"), (std::vector<std::string>{"\\MY DIR", "x"}));
    EXPECT_EQ(splitParameters(" A,B;C=D  E"), (std::vector<std::string>{"A", "B", "C", "D", "E"}));
}

} // namespace
} // namespace spindeck::shell
