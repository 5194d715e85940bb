#include "shell_fixture.h"

namespace spindeck::shell::testing {
namespace {

namespace fs = std::filesystem;
using platform::testing_support::RowLabel;

// ---- IF ------------------------------------------------------------------------------------

struct IfCase {
    std::string label;
    std::string line;
    bool taken;
    std::string choiceKey = "b"; // CHOICE /C:ABC before the line leaves ERRORLEVEL 2
};

class IfForms : public ShellTest, public ::testing::WithParamInterface<IfCase> {};

TEST_P(IfForms, DecideAsDosDoes) {
    writeText(c / "GAME" / "SETUP.EXE", "MZ");
    console.keys = GetParam().choiceKey;
    ASSERT_EQ(run("CHOICE /C:ABC /N"), RunResult::Succeeded);
    console.out.clear();
    EXPECT_EQ(run(GetParam().line + " ECHO taken"), RunResult::Succeeded) << console.err;
    EXPECT_EQ(console.out, GetParam().taken ? "taken\n" : "");
}

INSTANTIATE_TEST_SUITE_P(Shell, IfForms,
                         ::testing::Values(IfCase{"strings_equal", "IF abc==abc", true},
                                           IfCase{"strings_differ_in_case", "IF a==A", false},
                                           IfCase{"blanks_around_equals", "IF \"x\" == \"x\"", true},
                                           // "IF %1"==" goto NOWAY" of corpus B8 with %1 empty.
                                           IfCase{"quote_trick_empty_parameter", "IF \"==\"", true},
                                           IfCase{"not_strings", "IF NOT a==b", true},
                                           IfCase{"exist_file", "IF EXIST GAME\\setup.exe", true},
                                           IfCase{"exist_wildcard", "IF EXIST C:\\GAME\\*.EXE", true},
                                           IfCase{"exist_is_false_for_a_directory", "IF EXIST GAME", false},
                                           IfCase{"exist_directory_through_nul", "IF EXIST GAME\\NUL", true},
                                           IfCase{"not_exist_missing_directory", "IF NOT EXIST NOPE\\NUL", true},
                                           IfCase{"errorlevel_at_least", "IF ERRORLEVEL 2", true},
                                           IfCase{"errorlevel_higher", "IF ERRORLEVEL 3", false},
                                           IfCase{"not_errorlevel", "IF NOT ERRORLEVEL 3", true},
                                           // Spellings met in corpus B6, B12 and B27.
                                           IfCase{"errorlevel_double_equals", "if errorlevel == 1", true},
                                           IfCase{"errorlevel_equals_glued", "if errorlevel=3", false},
                                           IfCase{"errorlevel_first_choice", "IF ERRORLEVEL 2", false, "a"}),
                         RowLabel{});

TEST_F(IfForms, MalformedConditionsAreSyntaxErrorsAndTheBatchGoesOn) {
    // "if %3 == install goto install" of corpus B25, run without parameters.
    EXPECT_EQ(runBatch("@echo off\r\nif  == install goto install\r\nIF ERRORLEVEL x echo no\r\necho after\r\n"),
              RunResult::Failed);
    EXPECT_EQ(console.err, "Syntax error [C:\\TEST.BAT line 2]\nSyntax error [C:\\TEST.BAT line 3]\n");
    EXPECT_EQ(console.out, "after\n");
}

TEST_F(IfForms, RedirectionBelongsToTheCommandAfterTheCondition) {
    EXPECT_EQ(run("if a==a echo yes >> C:\\OUT.TXT"), RunResult::Succeeded);
    EXPECT_EQ(run("if a==b echo no > C:\\NOT.TXT"), RunResult::Succeeded);
    EXPECT_EQ(readText(c / "OUT.TXT"), "yes\r\n");
    EXPECT_FALSE(fs::exists(c / "NOT.TXT"));
}

TEST_F(IfForms, ARedirectionThatCannotBeWrittenStopsTheCommand) {
    writeText(c / "A.TXT", "a");
    EXPECT_EQ(run("copy C:\\A.TXT C:\\B.TXT > D:\\LOG.TXT"), RunResult::Failed);
    EXPECT_EQ(run("copy C:\\A.TXT C:\\B.TXT > C:\\NODIR\\LOG.TXT"), RunResult::Failed);
    EXPECT_FALSE(fs::exists(c / "B.TXT"));
    EXPECT_EQ(console.err,
              "Access denied - D:\\LOG.TXT (the drive is read-only)\nPath not found - C:\\NODIR\\LOG.TXT\n");
}

// ---- Batch files: echo, labels, GOTO, parameters, CALL -------------------------------------

struct BatchCase {
    std::string label;
    std::string text;
    std::vector<std::string> parameters;
    std::string output;
    RunResult result = RunResult::Succeeded;
    std::string keys = {};
};

class Batches : public ShellTest, public ::testing::WithParamInterface<BatchCase> {};

TEST_P(Batches, RunAsDosRunsThem) {
    console.keys = GetParam().keys;
    EXPECT_EQ(runBatch(GetParam().text, GetParam().parameters), GetParam().result) << console.err;
    EXPECT_EQ(console.out, GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(
    Shell, Batches,
    ::testing::Values(
        BatchCase{"echo_on_shows_prompt_and_command", "echo hi\r\n", {}, "C:\\>echo hi\nhi\n"},
        BatchCase{"at_sign_hides_one_command", "@echo hi\r\n", {}, "hi\n"},
        BatchCase{"echo_forms",
                  "@echo off\r\necho.\r\necho;\r\necho .\r\necho.text\r\necho   spaced\r\necho\r\n",
                  {},
                  "\n\n.\ntext\nspaced\nECHO is off\n"},
        BatchCase{"echo_off_without_at_is_shown", "ECHO OFF\r\necho hi\r\n", {}, "C:\\>ECHO OFF\nhi\n"},
        // Corpus B26: labels with a trailing blank, B11: "goto :Vol2Here".
        BatchCase{
            "labels_and_goto", "@echo off\r\ngoto :two\r\n:one\r\necho one\r\n:two  \r\necho two\r\n", {}, "two\n"},
        BatchCase{"computed_goto",
                  "@echo off\r\ngoto %1\r\n:zip\r\necho zip\r\ngoto end\r\n:lzh\r\necho lzh\r\n:end\r\n",
                  {"lzh"},
                  "lzh\n"},
        // MS-DOS 6.22 compares the first eight characters of a label.
        BatchCase{"label_compared_on_eight_characters",
                  "@echo off\r\ngoto longlabel2\r\n:longlabel1\r\necho found\r\n",
                  {},
                  "found\n"},
        BatchCase{
            "label_not_found_ends_the_batch", "@echo off\r\ngoto nowhere\r\necho after\r\n", {}, "", RunResult::Failed},
        BatchCase{"parameters_and_shift",
                  "@echo off\r\necho %0 %1 %2\r\nshift\r\necho %0 %1 %2\r\n",
                  {"A", "B"},
                  "C:\\TEST.BAT A B\nA B \n"},
        BatchCase{"set_and_variables",
                  "@echo off\r\nset dst=%1\\fq4\r\nset tmp= x\r\necho [%DST%][%tmp%][%none%]\r\n",
                  {"C:"},
                  "[C:\\fq4][ x][]\n"},
        BatchCase{"for_over_a_set", "@echo off\r\nfor %%v in (a,b c) do echo %%v!\r\n", {}, "a!\nb!\nc!\n"},
        BatchCase{"exit_stops", "@echo off\r\necho one\r\nexit\r\necho two\r\n", {}, "one\n"},
        BatchCase{"pause_reads_a_key",
                  "@echo off\r\npause\r\necho after\r\n",
                  {},
                  "Press any key to continue . . .\nafter\n",
                  RunResult::Succeeded,
                  "x"},
        // B3: "pause Press ENTER to begin..." shows only the DOS text when echo is off.
        BatchCase{"pause_at_end_of_input_goes_on",
                  "@echo off\r\npause Press ENTER\r\necho after\r\n",
                  {},
                  "Press any key to continue . . .\nafter\n"},
        BatchCase{"choice_picks_a_key",
                  "@echo off\r\nchoice /c:yn Is this correct?\r\nif errorlevel 2 echo no\r\n",
                  {},
                  "Is this correct?[Y,N]?N\nno\n",
                  RunResult::Succeeded,
                  "xn"},
        // Corpus B15: "choice /c:123456 /T:6,35 Choose" takes its default when nobody answers.
        BatchCase{"choice_timeout_default",
                  "@echo off\r\nchoice /c:123456 /T:6,35 /n\r\nif errorlevel 6 echo six\r\n",
                  {},
                  "6\nsix\n"},
        BatchCase{"choice_first_without_timeout",
                  "@echo off\r\nchoice /c:cdefg /n\r\nif not errorlevel 2 echo c\r\n",
                  {},
                  "C\nc\n"},
        BatchCase{"mixed_line_ends_and_ctrl_z",
                  "@echo off\r\necho a\necho b\r\n\x1a"
                  "echo c\r\n",
                  {},
                  "a\nb\n"},
        BatchCase{"pipe_into_more", "@echo off\r\necho piped| more\r\n", {}, "piped\n"}),
    RowLabel{});

TEST_F(Batches, CallReturnsAndAPlainNameTransfersControl) {
    writeText(c / "SUB.BAT", "@echo sub %1\r\n");
    EXPECT_EQ(runBatch("@echo off\r\ncall sub one\r\nsub two\r\necho never\r\n"), RunResult::Succeeded) << console.err;
    EXPECT_EQ(console.out, "sub one\nsub two\n");
}

TEST_F(Batches, BatchFilesAreFoundAlongPath) {
    writeText(c / "TOOLS" / "HELPER.BAT", "@echo helper\r\n");
    EXPECT_EQ(run("SET PATH=C:\\NOPE;C:\\TOOLS"), RunResult::Succeeded);
    EXPECT_EQ(run("helper"), RunResult::Succeeded) << console.err;
    EXPECT_EQ(console.out, "helper\n");
}

TEST_F(Batches, EchoRedirectionWritesDosTextFiles) {
    EXPECT_EQ(runBatch("@echo off\r\necho one > C:\\CFG.TXT\r\necho two >>C:\\CFG.TXT\r\ntype C:\\CFG.TXT\r\n"),
              RunResult::Succeeded);
    // The blank before ">" is part of the text, as on DOS.
    EXPECT_EQ(readText(c / "CFG.TXT"), "one \r\ntwo \r\n");
    EXPECT_EQ(console.out, "one \ntwo \n");
}

TEST_F(Batches, InputRedirectionFeedsPauseAndChoice) {
    writeText(c / "KEYS.TXT", "b");
    EXPECT_EQ(run("choice /c:ab /n < C:\\KEYS.TXT"), RunResult::Succeeded);
    EXPECT_EQ(shell->errorLevel(), 2);
    EXPECT_EQ(run("pause < NUL"), RunResult::Succeeded);
}

// ---- Unknown names and bad files -----------------------------------------------------------

TEST_F(Batches, UnknownCommandsAndDosProgramsAreReportedAndTheBatchGoesOn) {
    writeText(c / "SETUP.EXE", "MZ");
    EXPECT_EQ(runBatch("@echo off\r\nfrobnicate x\r\nsetup /q\r\necho still here\r\n"), RunResult::Failed);
    EXPECT_EQ(console.out, "still here\n");
    EXPECT_NE(console.err.find("Bad command or file name - frobnicate"), std::string::npos);
    EXPECT_NE(console.err.find("Bad command or file name - setup (DOS programs need DOSBox"), std::string::npos);
}

TEST_F(Batches, DosProgramsRunInDosboxWithTheDrivesMounted) {
    // A stand-in for DOSBox that writes down the arguments it was given, one a line.
    const fs::path args = scratch / "args.txt";
    writeText(scratch / "bin" / "dosbox",
              "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"" + args.string() + "\"\n");
    fs::permissions(scratch / "bin" / "dosbox", fs::perms::owner_all);
    writeText(c / "GAMES" / "SETUP.EXE", "MZ");
    EXPECT_EQ(run("cd GAMES"), RunResult::Succeeded);
    EXPECT_EQ(run("setup /q"), RunResult::Succeeded) << console.err;
    const std::string written = readText(args);
    const std::string expected = "-c\nmount C \"" + c.string() + "\"\n-c\nmount D \"" + d.string() +
                                 "\" -t cdrom\n-c\nC:\n-c\ncd \\GAMES\n-c\nC:\\GAMES\\SETUP.EXE /q\n-c\nexit\n";
    ASSERT_GT(written.size(), expected.size());
    EXPECT_TRUE(written.starts_with("-conf\n")) << written;
    EXPECT_EQ(written.substr(written.size() - expected.size()), expected);
}

TEST_F(Batches, BinaryOrOverlongBatchFilesEndWithAMessage) {
    const std::vector<std::string> bad{std::string("echo a\r\n\x7f"
                                                   "ELF\0\0\x01",
                                                   13),
                                       "echo " + std::string(100000, 'x')};
    for (const auto& text : bad) {
        console.err.clear();
        EXPECT_EQ(runBatch(text), RunResult::Unreadable);
        EXPECT_NE(console.err.find("Cannot run C:\\TEST.BAT: line"), std::string::npos) << console.err;
    }
    EXPECT_EQ(shell->runBatch("C:\\MISSING.BAT", {}), RunResult::Unreadable);
    EXPECT_EQ(console.out, "");
}

// ---- Directories ---------------------------------------------------------------------------

TEST_F(ShellTest, DirectoryCommandsFollowDos) {
    fs::create_directories(c / "GAMES" / "DEMO");
    fs::create_directories(d / "SETUP");
    EXPECT_EQ(run("CD GAMES\\DEMO"), RunResult::Succeeded);
    EXPECT_EQ(run("CD.."), RunResult::Succeeded);
    EXPECT_EQ(files->currentDirectory('C'), "C:\\GAMES");
    EXPECT_EQ(run("CD\\"), RunResult::Succeeded);
    EXPECT_EQ(files->currentDirectory('C'), "C:\\");
    // CD on another drive moves that drive's directory only (corpus B21: "cd %what%:\...").
    EXPECT_EQ(run("cd D:\\SETUP"), RunResult::Succeeded);
    EXPECT_EQ(files->currentDrive(), 'C');
    EXPECT_EQ(files->currentDirectory('D'), "D:\\SETUP");
    EXPECT_EQ(run("d:"), RunResult::Succeeded);
    EXPECT_EQ(files->currentDrive(), 'D');
    EXPECT_EQ(run("CD \"\\\""), RunResult::Succeeded); // the second line of the program's batch file
    EXPECT_EQ(files->currentDirectory('D'), "D:\\");
    EXPECT_EQ(run("C:"), RunResult::Succeeded);

    EXPECT_EQ(run("MD NEW"), RunResult::Succeeded);
    EXPECT_TRUE(fs::is_directory(c / "NEW"));
    EXPECT_EQ(run("MD NEW"), RunResult::Failed);
    writeText(c / "NEW" / "F.TXT", "x");
    EXPECT_EQ(run("RD NEW"), RunResult::Failed);
    EXPECT_EQ(run("CD NOWHERE"), RunResult::Failed);
    EXPECT_EQ(run("Q:"), RunResult::Failed);
    EXPECT_EQ(console.err, "Unable to create directory - NEW (NEW: already exists)\n"
                           "Invalid path, not directory, or directory not empty - NEW\n"
                           "Invalid directory - NOWHERE\n"
                           "Invalid drive - Q:\n");
}

// ---- COPY ----------------------------------------------------------------------------------

struct CopyCase {
    std::string label;
    std::string line;
    std::string file;     // checked afterwards, relative to C:
    std::string contents; // its expected bytes
};

class CopyModes : public ShellTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(CopyModes, CopyAsDosCopies) {
    writeText(c / "SRC" / "A.TXT", "aaa");
    writeText(c / "SRC" / "B.TXT", std::string("bbb\x1atail", 8));
    writeText(c / "SRC" / "C.DAT", "ccc");
    fs::create_directories(c / "DEST");
    fs::create_directories(c / "WORK");
    ASSERT_EQ(run("CD WORK"), RunResult::Succeeded);
    EXPECT_EQ(run(GetParam().line), RunResult::Succeeded) << console.err;
    EXPECT_EQ(readText(c / GetParam().file), GetParam().contents);
}

INSTANTIATE_TEST_SUITE_P(
    Shell, CopyModes,
    ::testing::Values(
        CopyCase{"one_file_into_a_directory", "COPY C:\\SRC\\A.TXT C:\\DEST", "DEST/A.TXT", "aaa"},
        CopyCase{"one_file_to_a_new_name", "copy \\src\\a.txt \\dest\\new.txt", "DEST/new.txt", "aaa"},
        // Corpus B25: "copy %1\icr2\...\*.*" copies into the current directory.
        CopyCase{"source_only_to_current_directory", "copy C:\\SRC\\*.DAT", "WORK/C.DAT", "ccc"},
        CopyCase{"wildcard_into_a_directory", "copy C:\\SRC\\*.* C:\\DEST >NUL", "DEST/B.TXT",
                 std::string("bbb\x1atail", 8)},
        // A wildcard source onto one file joins the files as text, as MS-DOS 6.22 does.
        CopyCase{"wildcard_onto_one_file_joins", "copy C:\\SRC\\*.TXT C:\\DEST\\ALL.TXT", "DEST/ALL.TXT", "aaabbb\x1a"},
        CopyCase{"plus_joins_as_text", "copy C:\\SRC\\A.TXT + C:\\SRC\\C.DAT C:\\J.TXT", "J.TXT", "aaaccc\x1a"},
        // Corpus B20: "copy /b in1.tmp + in2.tmp in3.bat".
        CopyCase{"plus_binary", "copy /b C:\\SRC\\B.TXT+C:\\SRC\\A.TXT C:\\J.BIN", "J.BIN",
                 std::string("bbb\x1atailaaa", 11)},
        CopyCase{"plus_without_target_appends_to_first", "copy /b C:\\SRC\\A.TXT + C:\\SRC\\C.DAT", "SRC/A.TXT",
                 "aaaccc"},
        // Corpus B8: "COPY SOUND\*.* %1\SOUND\*.*", and a pattern that renames.
        CopyCase{"wildcard_target_renames", "copy C:\\SRC\\*.DAT C:\\DEST\\*.BAK", "DEST/C.BAK", "ccc"},
        // Corpus B29: "Copy/B  *.* %1%2 > Nul" with the switch glued to the name.
        CopyCase{"switch_glued_to_command", "Copy/B  C:\\SRC\\A.TXT C:\\DEST > Nul", "DEST/A.TXT", "aaa"},
        CopyCase{"switch_after_the_files", "COPY C:\\SRC\\A.TXT C:\\DEST\\Z.TXT /Y /V", "DEST/Z.TXT", "aaa"}),
    RowLabel{});

TEST_F(CopyModes, ReplacesWithoutAskingUnlessToldTo) {
    writeText(c / "SRC" / "A.TXT", "new a");
    writeText(c / "SRC" / "B.TXT", "new b");
    writeText(c / "SRC" / "C.TXT", "new c");
    writeText(c / "DEST" / "A.TXT", "old a");
    writeText(c / "DEST" / "B.TXT", "old b");
    writeText(c / "DEST" / "C.TXT", "old c");
    console.keys = "xna"; // x is no answer; No for A.TXT, All for B.TXT and C.TXT
    EXPECT_EQ(run("copy /-Y C:\\SRC\\*.TXT C:\\DEST"), RunResult::Succeeded);
    EXPECT_EQ(readText(c / "DEST" / "A.TXT"), "old a");
    EXPECT_EQ(readText(c / "DEST" / "B.TXT"), "new b");
    EXPECT_EQ(readText(c / "DEST" / "C.TXT"), "new c");
    EXPECT_EQ(run("copy C:\\SRC\\A.TXT C:\\DEST"), RunResult::Succeeded);
    EXPECT_EQ(readText(c / "DEST" / "A.TXT"), "new a");
}

TEST_F(CopyModes, FailuresNameTheFileAndCountZeroCopies) {
    writeText(c / "A.TXT", "a");
    EXPECT_EQ(run("copy C:\\NONE.TXT C:\\X.TXT"), RunResult::Failed);
    EXPECT_EQ(run("copy C:\\A.TXT C:\\"), RunResult::Failed);
    EXPECT_EQ(run("copy C:\\A.TXT C:\\NODIR\\X.TXT"), RunResult::Failed);
    EXPECT_EQ(console.err, "File not found - C:\\NONE.TXT\n"
                           "File cannot be copied onto itself - C:\\A.TXT\n"
                           "Path not found - C:\\NODIR\\X.TXT\n");
    EXPECT_EQ(console.out, "        0 file(s) copied\n        0 file(s) copied\n        0 file(s) copied\n");
}

// ---- XCOPY, DELTREE, DEL, MOVE, REN --------------------------------------------------------

class FileTrees : public ShellTest {
protected:
    void SetUp() override {
        writeText(c / "SRC" / "GAME.EXE", "game");
        writeText(c / "SRC" / "DATA" / "LEVEL1.MAP", "l1");
        writeText(c / "SRC" / "DATA" / "DEEP" / "X.DAT", "x");
        fs::create_directories(c / "SRC" / "EMPTY");
    }
};

TEST_F(FileTrees, XcopyCopiesTreesAsItsSwitchesSay) {
    // Corpus B22: "xcopy *.* /s c:\CANNON" with the switch before the target.
    ASSERT_EQ(run("cd SRC"), RunResult::Succeeded);
    EXPECT_EQ(run("xcopy *.* /s C:\\S"), RunResult::Succeeded) << console.err;
    EXPECT_EQ(readText(c / "S" / "DATA" / "DEEP" / "X.DAT"), "x");
    EXPECT_FALSE(fs::exists(c / "S" / "EMPTY"));
    EXPECT_EQ(run("xcopy C:\\SRC C:\\E /S /E /I"), RunResult::Succeeded) << console.err;
    EXPECT_TRUE(fs::is_directory(c / "E" / "EMPTY"));
    EXPECT_EQ(run("xcopy C:\\SRC C:\\TOP /I"), RunResult::Succeeded);
    EXPECT_TRUE(fs::exists(c / "TOP" / "GAME.EXE"));
    EXPECT_FALSE(fs::exists(c / "TOP" / "DATA"));
    EXPECT_EQ(shell->errorLevel(), 0);
    // Corpus B14: "xcopy *.* %1\SURVIVAL > nul" then "if errorlevel 1".
    EXPECT_EQ(run("xcopy C:\\SRC\\*.ZIP C:\\S"), RunResult::Failed);
    EXPECT_EQ(shell->errorLevel(), 1);
    EXPECT_EQ(run("xcopy C:\\SRC C:\\SRC\\DATA /S"), RunResult::Failed);
    EXPECT_EQ(shell->errorLevel(), 4);
    EXPECT_EQ(console.err, "File not found - C:\\SRC\\*.ZIP\nCannot perform a cyclic copy\n");
}

TEST_F(FileTrees, DirListsNamesSizesAndFolders) {
    EXPECT_EQ(run("dir C:\\SRC /b"), RunResult::Succeeded);
    EXPECT_EQ(console.out, "DATA\nEMPTY\nGAME.EXE\n");
    console.out.clear();
    EXPECT_EQ(run("DIR C:\\SRC"), RunResult::Succeeded);
    EXPECT_TRUE(console.out.starts_with(" Volume in drive C is SCRATCH\n Directory of C:\\SRC\n\n"
                                        "DATA         <DIR>\nEMPTY        <DIR>\nGAME.EXE                  4\n"
                                        "        1 file(s)    4 bytes\n"))
        << console.out;
    EXPECT_EQ(run("dir C:\\SRC\\*.ZIP"), RunResult::Failed);
}

TEST_F(FileTrees, XcopyFindsAFileByItsLongOrShortName) {
    writeText(c / "SRC" / "Readme.markdown", "long");
    EXPECT_EQ(run("xcopy C:\\SRC\\readme.markdown C:\\LONG\\"), RunResult::Succeeded) << console.err;
    EXPECT_EQ(run("xcopy C:\\SRC\\README~1.MAR C:\\SHORT\\"), RunResult::Succeeded) << console.err;
    EXPECT_EQ(readText(c / "LONG" / "Readme.markdown"), "long");
    EXPECT_EQ(readText(c / "SHORT" / "Readme.markdown"), "long");
}

TEST_F(FileTrees, XcopyAsksWhetherANewTargetIsAFileOrADirectory) {
    console.keys = "f";
    EXPECT_EQ(run("xcopy C:\\SRC\\GAME.EXE C:\\COPY.EXE"), RunResult::Succeeded) << console.err;
    EXPECT_EQ(readText(c / "COPY.EXE"), "game");
    EXPECT_EQ(run("xcopy C:\\SRC\\GAME.EXE C:\\NEWDIR"), RunResult::Succeeded) << console.err; // no key: directory
    EXPECT_EQ(readText(c / "NEWDIR" / "GAME.EXE"), "game");
}

TEST_F(FileTrees, DeltreeRemovesTreesAndOnlyWhatWasAskedFor) {
    fs::create_symlink(outside, c / "SRC" / "DATA" / "LINK");
    writeText(outside / "KEEP.TXT", "keep");
    console.keys = "n";
    EXPECT_EQ(run("DELTREE C:\\SRC\\DATA"), RunResult::Succeeded);
    EXPECT_TRUE(fs::exists(c / "SRC" / "DATA"));
    EXPECT_EQ(run("deltree /y C:\\SRC\\DATA"), RunResult::Succeeded) << console.err;
    EXPECT_FALSE(fs::exists(c / "SRC" / "DATA"));
    EXPECT_EQ(readText(outside / "KEEP.TXT"), "keep"); // the link went, not what it led to
    EXPECT_EQ(run("deltree /y C:\\SRC\\*.*"), RunResult::Succeeded);
    EXPECT_TRUE(fs::is_empty(c / "SRC"));
    EXPECT_EQ(run("deltree /y C:\\GONE"), RunResult::Succeeded); // nothing to delete is not an error
}

TEST_F(FileTrees, DelTakesWildcardsAndAsksBeforeEmptyingADirectory) {
    writeText(c / "SRC" / "A.TXT", "a");
    EXPECT_EQ(run("del C:\\SRC\\*.TXT"), RunResult::Succeeded);
    EXPECT_FALSE(fs::exists(c / "SRC" / "A.TXT"));
    EXPECT_EQ(run("ERASE C:\\SRC\\*.TXT"), RunResult::Failed);
    console.keys = "n";
    EXPECT_EQ(run("del C:\\SRC\\*.*"), RunResult::Succeeded);
    EXPECT_TRUE(fs::exists(c / "SRC" / "GAME.EXE"));
    console.keys = "y";
    EXPECT_EQ(run("del C:\\SRC"), RunResult::Succeeded);
    EXPECT_FALSE(fs::exists(c / "SRC" / "GAME.EXE"));
    EXPECT_TRUE(fs::exists(c / "SRC" / "DATA" / "LEVEL1.MAP"));
    EXPECT_EQ(console.err, "File not found - C:\\SRC\\*.TXT\n");
}

TEST_F(FileTrees, MoveAndRenKeepTheBytes) {
    EXPECT_EQ(run("ren C:\\SRC\\GAME.EXE GAME.OLD"), RunResult::Succeeded);
    EXPECT_EQ(run("ren C:\\SRC\\DATA\\*.MAP *.BAK"), RunResult::Succeeded);
    EXPECT_EQ(readText(c / "SRC" / "DATA" / "LEVEL1.BAK"), "l1");
    EXPECT_EQ(run("move C:\\SRC\\GAME.OLD C:\\SRC\\EMPTY"), RunResult::Succeeded);
    EXPECT_EQ(readText(c / "SRC" / "EMPTY" / "GAME.OLD"), "game");
    EXPECT_EQ(run("move C:\\SRC\\DATA C:\\MOVED"), RunResult::Succeeded);
    EXPECT_TRUE(fs::exists(c / "MOVED" / "DEEP" / "X.DAT"));
    EXPECT_EQ(run("ren C:\\SRC\\NONE.TXT X.TXT"), RunResult::Failed);
}

// ---- Confinement ---------------------------------------------------------------------------

struct EscapeCase {
    std::string label;
    std::string line;
    std::string message;
};

class Confinement : public ShellTest, public ::testing::WithParamInterface<EscapeCase> {};

TEST_P(Confinement, NothingOutsideTheDrivesIsTouched) {
    writeText(outside / "SECRET.TXT", "secret");
    writeText(c / "A.TXT", "a");
    writeText(d / "DISC.TXT", "disc");
    fs::create_symlink(outside, c / "ESCAPE");
    fs::create_symlink(outside / "SECRET.TXT", c / "SECRET.LNK");
    EXPECT_EQ(runBatch("@echo off\r\n" + GetParam().line + "\r\necho went on\r\n"), RunResult::Failed);
    EXPECT_EQ(console.out.find("secret"), std::string::npos);
    EXPECT_NE(console.out.find("went on"), std::string::npos);
    EXPECT_NE(console.err.find(GetParam().message), std::string::npos) << console.err;
    EXPECT_EQ(readText(outside / "SECRET.TXT"), "secret");
    EXPECT_EQ(fs::directory_entry(outside).exists() ? std::distance(fs::directory_iterator(outside), {}) : 0, 1);
    EXPECT_EQ(readText(d / "DISC.TXT"), "disc");
}

INSTANTIATE_TEST_SUITE_P(
    Shell, Confinement,
    ::testing::Values(
        // ".." stops at the root of the drive, as on DOS.
        EscapeCase{"dot_dot_stops_at_the_root", "type C:\\..\\..\\outside\\SECRET.TXT", "File not found"},
        EscapeCase{"symlink_out_of_the_drive", "type C:\\ESCAPE\\SECRET.TXT", "Access denied - C:\\ESCAPE\\SECRET.TXT"},
        EscapeCase{"copy_from_a_symlink_out", "copy C:\\SECRET.LNK C:\\GOT.TXT", "Access denied - C:\\SECRET.LNK"},
        EscapeCase{"xcopy_from_a_symlink_out", "xcopy C:\\ESCAPE C:\\GOT /S /I", "Access denied - C:\\ESCAPE"},
        EscapeCase{"copy_into_a_symlink_out", "copy C:\\A.TXT C:\\ESCAPE\\NEW.TXT", "Access denied"},
        EscapeCase{"xcopy_out_through_a_symlink", "xcopy C:\\A.TXT C:\\ESCAPE\\NEW\\ /I", "Access denied"},
        EscapeCase{"deltree_through_a_symlink", "deltree /y C:\\ESCAPE\\SECRET.TXT", "Access denied"},
        // A host path reads as switches to DOS.
        EscapeCase{"host_path_as_argument", "type /etc/passwd", "Invalid switch - /etc"},
        EscapeCase{"host_path_with_backslashes", "type \\etc\\passwd", "File not found - \\etc\\passwd"},
        EscapeCase{"write_to_the_cdrom", "copy C:\\A.TXT D:\\", "Access denied - D:\\A.TXT (the drive is read-only)"},
        EscapeCase{"redirect_onto_the_cdrom", "echo x > D:\\DISC.TXT", "read-only"},
        EscapeCase{"delete_on_the_cdrom", "del D:\\DISC.TXT", "read-only"},
        EscapeCase{"directory_on_the_cdrom", "md D:\\NEW", "read-only"},
        EscapeCase{"deltree_on_the_cdrom", "deltree /y D:\\DISC.TXT", "read-only"}),
    RowLabel{});

} // namespace
} // namespace spindeck::shell::testing
