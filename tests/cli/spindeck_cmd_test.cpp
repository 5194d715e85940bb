#include "../support/scratch.h"
#include "../support/storedzip.h"
#include "run_tool.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using spindeck::platform::testing_support::readText;
using spindeck::platform::testing_support::ScopedEnv;
using spindeck::platform::testing_support::ScratchDir;
using spindeck::platform::testing_support::writeText;
using spindeck::testing::runTool;

// A drive map of C: (fixed) and D: (a CD-ROM holding D:\DEMO), and the state folder for the
// transcripts, all in a scratch folder.
class SpindeckCmdTest : public ::testing::Test {
protected:
    SpindeckCmdTest()
        : m_config("XDG_CONFIG_HOME", (scratch / "config").string()),
          m_state("XDG_STATE_HOME", (scratch / "state").string()) {
        fs::create_directories(scratch / "c" / "GAMES" / "DEMO");
        fs::create_directories(scratch / "d" / "DEMO");
        writeText(scratch / "config" / "spindeck" / "drives.conf", "[C]\npath=" + (scratch / "c").string() +
                                                                       "\n[D]\npath=" + (scratch / "d").string() +
                                                                       "\nkind=cdrom\nlabel=DEMO\n");
        writeText(scratch / "d" / "DEMO" / "QRV.TXT", "A small demonstration program.\r\n[INSTALL Demo Tool]\r\n"
                                                      "pkunzip -d -o yahoo.zip <TEMP>\r\n"
                                                      "copy <temp>\\*.* <PATH>\r\ndeltree /y <temp>\r\n");
    }

    static spindeck::testing::ToolRun cmd(const std::vector<std::string>& args,
                                          const std::optional<std::string>& input = std::string()) {
        return runTool(SPINDECK_CMD, args, input);
    }

    ScratchDir scratch;

private:
    ScopedEnv m_config;
    ScopedEnv m_state;
};

// The batch file the install window writes for the worked example: QRV.TXT in D:\DEMO, installed
// to C:\GAMES\DEMO.
const std::string kUnpack = "PKUNZIP -D -O YAHOO.ZIP c:\\games\\demo.qrv\r\n";
const std::string kExampleStart = "D:\r\nCD \"\\DEMO\"\r\n";
const std::string kExampleEnd = "COPY c:\\games\\demo.qrv\\*.* c:\\games\\demo\r\nDELTREE /Y c:\\games\\demo.qrv\r\n";

TEST_F(SpindeckCmdTest, WorkedExampleInstallsFromTheWrittenBatchFile) {
    writeText(scratch / "d" / "DEMO" / "YAHOO.ZIP",
              spindeck::testing::storedZip({{"README.TXT", "read me"}, {"DEMO.EXE", "MZ demo"}}));
    writeText(scratch / "c" / "QRV.BAT", kExampleStart + kUnpack + kExampleEnd);
    const auto run = cmd({"C:\\QRV.BAT"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(readText(scratch / "c" / "GAMES" / "DEMO" / "README.TXT"), "read me");
    EXPECT_EQ(readText(scratch / "c" / "GAMES" / "DEMO" / "DEMO.EXE"), "MZ demo");
    EXPECT_FALSE(fs::exists(scratch / "c" / "GAMES" / "DEMO.QRV"));
}

TEST_F(SpindeckCmdTest, WorkedExampleCopiesAndRemovesTheScratchFolderAndKeepsATranscript) {
    // The scratch folder as the unpacking leaves it.
    writeText(scratch / "c" / "GAMES" / "DEMO.QRV" / "README.TXT", "read me");
    writeText(scratch / "c" / "GAMES" / "DEMO.QRV" / "DEMO.EXE", "MZ demo");
    writeText(scratch / "c" / "QRV.BAT", kExampleStart + kExampleEnd);
    const auto run = cmd({"C:\\QRV.BAT"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readText(scratch / "c" / "GAMES" / "DEMO" / "README.TXT"), "read me");
    EXPECT_FALSE(fs::exists(scratch / "c" / "GAMES" / "DEMO.QRV"));
    EXPECT_NE(run.out.find("D:\\DEMO>COPY c:\\games\\demo.qrv\\*.* c:\\games\\demo\n"), std::string::npos) << run.out;

    const fs::path transcripts = scratch / "state" / "spindeck";
    ASSERT_TRUE(fs::is_directory(transcripts));
    const auto log = fs::directory_iterator(transcripts)->path();
    EXPECT_TRUE(log.filename().string().starts_with("cmd-")) << log;
    EXPECT_NE(readText(log).find("> DELTREE /Y c:\\games\\demo.qrv\n"), std::string::npos) << readText(log);
}

TEST_F(SpindeckCmdTest, ExitStatusSaysWhetherEveryCommandSucceeded) {
    writeText(scratch / "c" / "GOOD.BAT", "@echo off\r\necho %1 and %2\r\n");
    writeText(scratch / "c" / "BAD.BAT", "@echo off\r\ntype C:\\NONE.TXT\r\necho went on\r\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;
    };
    const std::vector<Case> cases{
        {{"/C", "ECHO", "hi"}, 0, "hi\n", ""},
        {{"C:\\GOOD.BAT", "one", "two"}, 0, "one and two\n", ""},
        {{"C:\\BAD.BAT"}, 1, "went on\n", "File not found - C:\\NONE.TXT [C:\\BAD.BAT line 2]\n"},
        {{"C:\\MISSING.BAT"}, 2, "", "File not found - C:\\MISSING.BAT\n"},
        {{"/C", "copy", "C:\\GOOD.BAT", "D:\\"},
         1,
         "        0 file(s) copied\n",
         "Access denied - D:\\GOOD.BAT (the drive is read-only)\n"},
    };
    for (const auto& c : cases) {
        const auto run = cmd(c.args);
        EXPECT_EQ(run.exitCode, c.status) << c.args.front();
        EXPECT_EQ(run.out, c.out) << c.args.front();
        EXPECT_EQ(run.err, c.err) << c.args.front();
    }
    EXPECT_EQ(cmd({}).exitCode, 2);
    EXPECT_EQ(cmd({"--cd"}).exitCode, 2);
}

TEST_F(SpindeckCmdTest, CdOptionsSetDirectoriesAndTheLastOneSetsTheDrive) {
    EXPECT_EQ(cmd({"--cd", "C:\\GAMES", "--cd", "D:\\DEMO", "/C", "CD"}).out, "D:\\DEMO\n");
    EXPECT_EQ(cmd({"--cd", "D:\\DEMO", "--cd", "C:\\GAMES", "/C", "type", "d:qrv.txt"}).out.substr(0, 30),
              "A small demonstration program.");
    const auto missing = cmd({"--cd", "C:\\NOWHERE", "/C", "CD"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("C:\\NOWHERE"), std::string::npos);
}

TEST_F(SpindeckCmdTest, KeysComeFromStandardInputOneByteAtATime) {
    writeText(scratch / "c" / "ASK.BAT", "@echo off\r\npause\r\nchoice /c:yn Go on\r\nif errorlevel 2 echo no\r\n"
                                         "pause\r\necho done\r\n");
    // Enter (13) answers PAUSE; at the end of input PAUSE goes on.
    const auto run = cmd({"C:\\ASK.BAT"}, std::string("\rxn"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "Press any key to continue . . .\nGo on[Y,N]?N\nno\nPress any key to continue . . .\ndone\n");
}

} // namespace
