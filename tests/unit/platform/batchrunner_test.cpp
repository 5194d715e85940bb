#include "platform/batchrunner.h"
#include "support/scratch.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace spindeck::platform {
namespace {

using testing_support::RowLabel;
using testing_support::ScratchDir;
using Words = std::vector<std::string>;

struct WordsRow {
    std::string label;
    std::string commandLine;
    Words words;
};

class CommandLineWordsTest : public testing::TestWithParam<WordsRow> {};

TEST_P(CommandLineWordsTest, SplitsAsDos) {
    EXPECT_EQ(commandLineWords(GetParam().commandLine), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CommandLineWordsTest,
    testing::Values(WordsRow{"batch_file_alone", "c:\\qrv.bat", {"c:\\qrv.bat"}},
                    WordsRow{"blanks_and_tabs_separate", "  c:\\qrv.bat\tONE   TWO ", {"c:\\qrv.bat", "ONE", "TWO"}},
                    WordsRow{"empty_line", "   ", {}},
                    // A quoted parameter reaches %1 with its quotes, as on DOS.
                    WordsRow{"quoted_parameter_keeps_quotes", "X.BAT \"A B\" C", {"X.BAT", "\"A B\"", "C"}},
                    WordsRow{"quoted_batch_file_loses_them",
                             "\"C:\\PROGRAM FILES\\GO.BAT\" 1",
                             {"C:\\PROGRAM FILES\\GO.BAT", "1"}}),
    RowLabel{});

// C: with GAMES\DEMO, D: with SUB, E: whose root is missing; the program starts on C:\.
class CurrentDirectoryArgumentsTest : public testing::Test {
protected:
    CurrentDirectoryArgumentsTest() {
        std::filesystem::create_directories(m_dir / "c" / "GAMES" / "DEMO");
        std::filesystem::create_directories(m_dir / "d" / "SUB");
        m_files.emplace(
            DriveMap({Drive{'C', m_dir / "c", DriveKind::Fixed, {}}, Drive{'D', m_dir / "d", DriveKind::CdRom, {}},
                      Drive{'E', m_dir / "missing", DriveKind::Removable, {}}}),
            "C:\\");
    }

    DosFileSystem& files() { return *m_files; }

    ScratchDir m_dir;
    std::optional<DosFileSystem> m_files;
};

TEST_F(CurrentDirectoryArgumentsTest, AllAtTheirRootsNamesOnlyTheCurrentDrive) {
    EXPECT_EQ(currentDirectoryArguments(files()), (Words{"--cd", "C:\\"}));
}

TEST_F(CurrentDirectoryArgumentsTest, TheCurrentDriveComesLastAndOnce) {
    ASSERT_TRUE(files().changeDirectory("C:\\GAMES\\DEMO"));
    ASSERT_TRUE(files().changeDirectory("D:\\SUB"));
    EXPECT_EQ(currentDirectoryArguments(files()), (Words{"--cd", "D:\\SUB", "--cd", "C:\\GAMES\\DEMO"}));

    ASSERT_TRUE(files().setCurrentDrive('D'));
    EXPECT_EQ(currentDirectoryArguments(files()), (Words{"--cd", "C:\\GAMES\\DEMO", "--cd", "D:\\SUB"}));
}

TEST_F(CurrentDirectoryArgumentsTest, ACurrentDriveAtItsRootIsStillNamed) {
    ASSERT_TRUE(files().changeDirectory("C:\\GAMES"));
    ASSERT_TRUE(files().setCurrentDrive('D'));
    EXPECT_EQ(currentDirectoryArguments(files()), (Words{"--cd", "C:\\GAMES", "--cd", "D:\\"}));
}

TEST_F(CurrentDirectoryArgumentsTest, TheBatchFileAndItsParametersFollow) {
    ASSERT_TRUE(files().changeDirectory("C:\\GAMES"));
    EXPECT_EQ(interpreterArguments(files(), "c:\\qrv.bat /Q"), (Words{"--cd", "C:\\GAMES", "c:\\qrv.bat", "/Q"}));
}

} // namespace
} // namespace spindeck::platform
