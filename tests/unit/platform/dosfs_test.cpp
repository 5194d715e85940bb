#include "platform/dosfs.h"
#include "support/scratch.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace spindeck::platform {
namespace {

using testing_support::RowLabel;

namespace fs = std::filesystem;
using testing_support::readText;
using testing_support::ScratchDir;
using testing_support::writeText;

// C: fixed, D: CD-ROM, E: a drive whose root is missing; a folder beside them plays the rest of
// the host system.
//
//   c/Program Data/
//   c/Program Files/Game Data/readme.txt
//   c/programs.txt
//   c/GAMES/
//   d/SUB/   d/FILE.TXT
//   outside/secret.txt
class DosFsTest : public testing::Test {
protected:
    DosFsTest() {
        fs::create_directories(m_c / "Program Data");
        writeText(m_c / "Program Files/Game Data/readme.txt", "read me");
        writeText(m_c / "programs.txt", "list");
        fs::create_directories(m_c / "GAMES");
        fs::create_directories(m_d / "SUB");
        writeText(m_d / "FILE.TXT", "on the disc");
        writeText(m_outside / "secret.txt", "secret");
        m_fs.emplace(DriveMap({Drive{'C', m_c, DriveKind::Fixed, {}}, Drive{'D', m_d, DriveKind::CdRom, {}},
                               Drive{'E', m_dir / "missing", DriveKind::Fixed, {}}}),
                     "C:\\");
    }

    DosFileSystem& dos() { return *m_fs; }

    ScratchDir m_dir;
    fs::path m_c = m_dir / "c";
    fs::path m_d = m_dir / "d";
    fs::path m_outside = m_dir / "outside";
    std::optional<DosFileSystem> m_fs;
};

template <class T> std::optional<PathErrorCode> codeOf(const PathResult<T>& result) {
    return result ? std::nullopt : std::optional(result.error().code);
}

// --- Path text -------------------------------------------------------------------------------------------------------

struct FullPathCase {
    const char* label;
    std::string path;
    std::string full;
};

class FullPathTest : public DosFsTest, public testing::WithParamInterface<FullPathCase> {};

TEST_P(FullPathTest, NormalisesAgainstTheCurrentDirectories) {
    ASSERT_TRUE(dos().changeDirectory("C:\\GAMES"));
    ASSERT_TRUE(dos().changeDirectory("d:\\sub"));
    const auto full = dos().fullPath(GetParam().path);
    ASSERT_TRUE(full) << full.error().message();
    EXPECT_EQ(*full, GetParam().full);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FullPathTest,
    testing::Values(FullPathCase{"relative_to_the_current_directory", "DEMO\\SETUP.EXE", "C:\\GAMES\\DEMO\\SETUP.EXE"},
                    FullPathCase{"absolute_on_the_current_drive", "\\DOS", "C:\\DOS"},
                    // Each drive has its own current directory ("D:X" is X in D:'s current one).
                    FullPathCase{"other_drive_relative", "D:X", "D:\\sub\\X"},
                    FullPathCase{"drive_alone", "d:", "D:\\sub"},
                    FullPathCase{"parent_of_the_current_directory", "..", "C:\\"},
                    FullPathCase{"dot_dot_stops_at_the_root", "C:\\..\\..\\DOS\\..\\..\\X", "C:\\X"},
                    FullPathCase{"dot_ignored", ".\\A\\.\\B", "C:\\GAMES\\A\\B"},
                    FullPathCase{"slashes_and_repeated_separators", "/a//b\\\\c/", "C:\\a\\b\\c"}),
    RowLabel());

TEST_F(DosFsTest, FullPathRefusesBadText) {
    EXPECT_EQ(codeOf(dos().fullPath("Q:\\X")), PathErrorCode::UnknownDrive);
    EXPECT_EQ(codeOf(dos().fullPath("C:\\A:B")), PathErrorCode::InvalidName);
    EXPECT_EQ(codeOf(dos().fullPath("1:\\X")), PathErrorCode::InvalidName);
    EXPECT_EQ(codeOf(dos().fullPath("")), PathErrorCode::InvalidName);
    EXPECT_EQ(codeOf(dos().fullPath(std::string_view("C:\\A\0B", 6))), PathErrorCode::InvalidName);
}

// --- Resolution ------------------------------------------------------------------------------------------------------

TEST_F(DosFsTest, ResolvesWithoutRegardToCase) {
    const auto host = dos().resolve("c:\\PROGRAM FILES\\game data\\README.TXT");
    ASSERT_TRUE(host) << host.error().message();
    EXPECT_EQ(*host, m_c / "Program Files/Game Data/readme.txt");
}

TEST_F(DosFsTest, AnExactNameWinsOverOneThatDiffersInCase) {
    writeText(m_c / "Readme.txt", "lower");
    writeText(m_c / "README.TXT", "upper");
    EXPECT_EQ(*dos().resolve("C:\\Readme.txt"), m_c / "Readme.txt");
    EXPECT_EQ(*dos().resolve("C:\\README.TXT"), m_c / "README.TXT");
    EXPECT_EQ(*dos().resolve("C:\\readme.TXT"), m_c / "README.TXT"); // first in byte order
}

TEST_F(DosFsTest, ShortNamesLeadBothWays) {
    // "Program Data" sorts before "Program Files": PROGRA~1 and PROGRA~2; "programs.txt" is a valid
    // 8.3 name and keeps it.
    const std::string longPath = "c:\\program files\\game data\\readme.txt";
    EXPECT_EQ(dos().GetShortPathNameA(longPath), "C:\\PROGRA~2\\GAMEDA~1\\readme.txt");
    EXPECT_EQ(dos().GetShortPathNameA("C:\\Program Data"), "C:\\PROGRA~1");
    EXPECT_EQ(dos().GetShortPathNameA("C:\\PROGRAMS.TXT"), "C:\\programs.txt");
    EXPECT_EQ(dos().GetShortPathNameA("c:\\"), "C:\\");

    EXPECT_EQ(*dos().resolve("C:\\PROGRA~2\\GAMEDA~1\\README.TXT"), m_c / "Program Files/Game Data/readme.txt");
    EXPECT_EQ(*dos().resolve("c:\\progra~1"), m_c / "Program Data");
    EXPECT_EQ(codeOf(dos().resolve("C:\\PROGRA~3")), PathErrorCode::FileNotFound);
    EXPECT_EQ(dos().GetShortPathNameA("C:\\Program Files\\nothing"), std::nullopt);
}

TEST_F(DosFsTest, AnIndexedDirectoryThatChangesIsReadAgain) {
    // Names added right after a directory was indexed, within the file system's time stamp
    // granularity, must still be found.
    writeText(m_c / "GAMES/Long Name B", "b");
    EXPECT_EQ(dos().GetShortPathNameA("C:\\GAMES\\long name b"), "C:\\GAMES\\LONGNA~1");
    writeText(m_c / "GAMES/Long Name A", "a");
    EXPECT_EQ(dos().GetShortPathNameA("C:\\GAMES\\long name b"), "C:\\GAMES\\LONGNA~2");
    EXPECT_EQ(*dos().resolve("C:\\GAMES\\LONGNA~1"), m_c / "GAMES/Long Name A");
    fs::remove(m_c / "GAMES/Long Name A");
    EXPECT_EQ(*dos().resolve("C:\\GAMES\\LONGNA~1"), m_c / "GAMES/Long Name B");
}

TEST_F(DosFsTest, MissingNamesTellFileFromPath) {
    EXPECT_EQ(codeOf(dos().resolve("C:\\NOPE")), PathErrorCode::FileNotFound);
    EXPECT_EQ(codeOf(dos().resolve("C:\\NOPE\\X")), PathErrorCode::PathNotFound);
    EXPECT_EQ(codeOf(dos().resolve("C:\\programs.txt\\X")), PathErrorCode::PathNotFound);
    EXPECT_EQ(codeOf(dos().resolve("Q:\\X")), PathErrorCode::UnknownDrive);
}

TEST_F(DosFsTest, DotDotAtTheRootStaysThere) {
    EXPECT_EQ(*dos().resolve("C:\\..\\..\\programs.txt"), m_c / "programs.txt");
    ASSERT_TRUE(dos().changeDirectory("C:\\GAMES\\..\\.."));
    EXPECT_EQ(dos().currentDirectory('C'), "C:\\");
}

TEST_F(DosFsTest, ResolveForWriteMatchesAnExistingNameAndTakesANewOneAsWritten) {
    EXPECT_EQ(*dos().resolveForWrite("C:\\PROGRAMS.TXT"), m_c / "programs.txt");
    EXPECT_EQ(*dos().resolveForWrite("C:\\progra~2\\New File.txt"), m_c / "Program Files/New File.txt");
    EXPECT_EQ(codeOf(dos().resolveForWrite("C:\\NOPE\\X")), PathErrorCode::PathNotFound);
}

struct NameCase {
    const char* label;
    std::string path;
};

class InvalidNameTest : public DosFsTest, public testing::WithParamInterface<NameCase> {};

TEST_P(InvalidNameTest, NamesDosForbidsAreRefused) {
    EXPECT_EQ(codeOf(dos().resolveForWrite(GetParam().path)), PathErrorCode::InvalidName);
    EXPECT_EQ(codeOf(dos().writeFile(GetParam().path, "x")), PathErrorCode::InvalidName);
    EXPECT_EQ(codeOf(dos().makeDirectory(GetParam().path)), PathErrorCode::InvalidName);
    EXPECT_EQ(fs::directory_iterator(m_c / "GAMES"), fs::directory_iterator());
}

INSTANTIATE_TEST_SUITE_P(Table, InvalidNameTest,
                         testing::Values(NameCase{"star", "C:\\GAMES\\A*B"}, NameCase{"question_mark", "C:\\GAMES\\A?"},
                                         NameCase{"less_than", "C:\\GAMES\\A<B"},
                                         NameCase{"greater_than", "C:\\GAMES\\A>B"}, NameCase{"pipe", "C:\\GAMES\\A|B"},
                                         NameCase{"quote", "C:\\GAMES\\A\"B"}, NameCase{"colon", "C:\\GAMES\\A:B"},
                                         NameCase{"control_character", "C:\\GAMES\\A\tB"},
                                         NameCase{"name_too_long_for_the_host", "C:\\GAMES\\" + std::string(300, 'A')}),
                         RowLabel());

// --- Leaving the drive -----------------------------------------------------------------------------------------------

TEST_F(DosFsTest, SymbolicLinksMayNotLeadOutOfTheDrive) {
    fs::create_symlink(m_outside, m_c / "escape");
    fs::create_symlink(m_outside / "secret.txt", m_c / "secret.txt");
    fs::create_symlink(m_outside / "nothing-yet.txt", m_c / "dangling.txt");

    EXPECT_EQ(codeOf(dos().resolve("C:\\ESCAPE")), PathErrorCode::OutsideDrive);
    EXPECT_EQ(codeOf(dos().resolve("C:\\escape\\secret.txt")), PathErrorCode::OutsideDrive);
    EXPECT_EQ(codeOf(dos().readFile("C:\\SECRET.TXT")), PathErrorCode::OutsideDrive);
    EXPECT_EQ(codeOf(dos().writeFile("C:\\escape\\new.txt", "x")), PathErrorCode::OutsideDrive);
    EXPECT_EQ(codeOf(dos().changeDirectory("C:\\escape")), PathErrorCode::OutsideDrive);
    // A link to nothing could create a file outside: it is refused for writing.
    EXPECT_EQ(codeOf(dos().writeFile("C:\\dangling.txt", "x")), PathErrorCode::AccessDenied);
    EXPECT_FALSE(fs::exists(m_outside / "new.txt"));
    EXPECT_FALSE(fs::exists(m_outside / "nothing-yet.txt"));
    EXPECT_EQ(readText(m_outside / "secret.txt"), "secret");
}

TEST_F(DosFsTest, SymbolicLinksInsideTheDriveAreFollowed) {
    fs::create_directory_symlink("Program Files", m_c / "inside");
    fs::create_symlink("programs.txt", m_c / "alias.txt");
    EXPECT_EQ(*dos().resolve("C:\\INSIDE\\GAME DATA\\README.TXT"), m_c / "inside/Game Data/readme.txt");
    EXPECT_EQ(dos().findName("C:\\", "INSIDE", true), "inside");

    // Writing through a link replaces the file it leads to and keeps the link.
    ASSERT_TRUE(dos().writeFile("C:\\ALIAS.TXT", "new list"));
    EXPECT_TRUE(fs::is_symlink(m_c / "alias.txt"));
    EXPECT_EQ(readText(m_c / "programs.txt"), "new list");
}

TEST_F(DosFsTest, TheHostRootDriveHoldsEverything) {
    fs::create_symlink(m_outside, m_c / "escape");
    const DosFileSystem whole(DriveMap({Drive{'Z', "/", DriveKind::Fixed, {}}}), "Z:\\");
    const std::string path = "Z:" + (m_c / "escape/secret.txt").string();
    const auto host = whole.resolve(path);
    ASSERT_TRUE(host) << host.error().message();
    EXPECT_EQ(readText(*host), "secret");
}

// --- CD-ROM and drives that are not ready ----------------------------------------------------------------------------

struct ChangeCase {
    const char* label;
    std::function<std::optional<PathErrorCode>(DosFileSystem&)> change;
};

class CdRomTest : public DosFsTest, public testing::WithParamInterface<ChangeCase> {};

TEST_P(CdRomTest, EveryChangeIsRefused) {
    EXPECT_EQ(GetParam().change(dos()), PathErrorCode::ReadOnly);
    EXPECT_EQ(readText(m_d / "FILE.TXT"), "on the disc");
    EXPECT_TRUE(fs::is_directory(m_d / "SUB"));
    EXPECT_FALSE(fs::exists(m_d / "NEW"));
    EXPECT_EQ(*dos().readFile("d:\\file.txt"), "on the disc"); // reading goes on
}

INSTANTIATE_TEST_SUITE_P(
    Table, CdRomTest,
    testing::Values(
        ChangeCase{"write_new_file", [](DosFileSystem& d) { return codeOf(d.writeFile("D:\\NEW", "x")); }},
        ChangeCase{"overwrite_file", [](DosFileSystem& d) { return codeOf(d.writeFile("D:\\FILE.TXT", "x")); }},
        ChangeCase{"make_directory", [](DosFileSystem& d) { return codeOf(d.makeDirectory("D:\\NEW")); }},
        ChangeCase{"remove_file", [](DosFileSystem& d) { return codeOf(d.removeFile("D:\\FILE.TXT")); }},
        ChangeCase{"remove_directory", [](DosFileSystem& d) { return codeOf(d.removeDirectory("D:\\SUB")); }},
        ChangeCase{"rename", [](DosFileSystem& d) { return codeOf(d.rename("D:\\FILE.TXT", "D:\\NEW")); }},
        ChangeCase{"resolve_for_write", [](DosFileSystem& d) { return codeOf(d.resolveForWrite("D:\\NEW")); }}),
    RowLabel());

TEST_F(DosFsTest, ADriveWithoutItsRootIsNotReady) {
    EXPECT_EQ(dos().GetDriveTypeA("E:\\"), 1);
    EXPECT_EQ(codeOf(dos().resolve("E:\\X")), PathErrorCode::NotReady);
    EXPECT_EQ(codeOf(dos().setCurrentDrive('e')), PathErrorCode::NotReady);
    EXPECT_EQ(codeOf(dos().GetDiskFreeSpaceA("E:\\")), PathErrorCode::NotReady);
    EXPECT_EQ(dos().currentDrive(), 'C');
    // The disc goes in: the drive becomes ready.
    fs::create_directories(m_dir / "missing");
    EXPECT_EQ(dos().GetDriveTypeA("E:\\"), 3);
    EXPECT_TRUE(dos().setCurrentDrive('e'));
}

struct DriveTypeCase {
    const char* label;
    std::string root;
    int type;
};

class DriveTypeTest : public DosFsTest, public testing::WithParamInterface<DriveTypeCase> {};

TEST_P(DriveTypeTest, ReportsTheKindOfARoot) {
    EXPECT_EQ(dos().GetDriveTypeA(GetParam().root), GetParam().type);
}

INSTANTIATE_TEST_SUITE_P(Table, DriveTypeTest,
                         testing::Values(DriveTypeCase{"fixed", "C:\\", 3}, DriveTypeCase{"lower_case_slash", "c:/", 3},
                                         DriveTypeCase{"cdrom", "D:\\", 5}, DriveTypeCase{"not_ready", "E:\\", 1},
                                         DriveTypeCase{"unmapped_letter", "Q:\\", 0},
                                         DriveTypeCase{"no_separator", "C:", 1},
                                         DriveTypeCase{"not_a_root", "C:\\GAMES", 1}, DriveTypeCase{"empty", "", 1},
                                         DriveTypeCase{"not_a_letter", "1:\\", 1}),
                         RowLabel());

// --- Free space ------------------------------------------------------------------------------------------------------

TEST_F(DosFsTest, FreeSpaceOfARealDriveComesFromItsFileSystem) {
    const auto space = dos().GetDiskFreeSpaceA("c:\\");
    ASSERT_TRUE(space) << space.error().message();
    EXPECT_GT(space->totalClusters, 0U);
    EXPECT_GT(space->bytesPerSector * space->sectorsPerCluster, 0U);
    EXPECT_LE(space->freeClusters, space->totalClusters);
    struct statvfs info {};
    ASSERT_EQ(::statvfs(m_c.c_str(), &info), 0);
    EXPECT_EQ(space->bytesPerSector * space->sectorsPerCluster, info.f_frsize);
    EXPECT_EQ(codeOf(dos().GetDiskFreeSpaceA("Q:\\")), PathErrorCode::UnknownDrive);
    EXPECT_EQ(codeOf(dos().GetDiskFreeSpaceA("C:")), PathErrorCode::InvalidName);
}

struct BlocksCase {
    const char* label;
    std::uint64_t fragment, available, total;
    DiskFreeSpace expected;
    std::uint64_t freeBytes;
};

class FreeSpaceTest : public testing::TestWithParam<BlocksCase> {};

TEST_P(FreeSpaceTest, TurnsBlocksIntoClustersIn64Bits) {
    const BlocksCase& c = GetParam();
    const DiskFreeSpace space = diskFreeSpaceFromBlocks(c.fragment, c.available, c.total);
    EXPECT_EQ(space.sectorsPerCluster, c.expected.sectorsPerCluster);
    EXPECT_EQ(space.bytesPerSector, c.expected.bytesPerSector);
    EXPECT_EQ(space.freeClusters, c.expected.freeClusters);
    EXPECT_EQ(space.totalClusters, c.expected.totalClusters);
    EXPECT_EQ(space.freeBytes(), c.freeBytes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FreeSpaceTest,
    testing::Values(
        BlocksCase{"four_kib_blocks", 4096, 3, 10, {8, 512, 3, 10}, 12288},
        BlocksCase{"fragment_not_a_multiple_of_512", 1000, 5, 9, {1, 1000, 5, 9}, 5000},
        // 16 GiB free: past what 32 bits can count.
        BlocksCase{"sixteen_gib_free", 4096, 4194304, 8388608, {8, 512, 4194304, 8388608}, 17179869184ULL},
        BlocksCase{
            "eight_tib_of_one_mib_blocks", 1048576, 8388608, 8388608, {2048, 512, 8388608, 8388608}, 8796093022208ULL}),
    RowLabel());

// --- Current drive and directories -----------------------------------------------------------------------------------

class WorkingDirectory {
public:
    explicit WorkingDirectory(const fs::path& path) : m_old(fs::current_path()) { fs::current_path(path); }
    ~WorkingDirectory() { fs::current_path(m_old); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    fs::path m_old;
};

TEST_F(DosFsTest, StartsInTheHostWorkingDirectoryWhenADriveHoldsIt) {
    const WorkingDirectory here(m_d / "SUB");
    const DosFileSystem started(
        DriveMap({Drive{'C', m_c, DriveKind::Fixed, {}}, Drive{'D', m_d, DriveKind::CdRom, {}}}), "C:\\GAMES");
    EXPECT_EQ(started.currentDrive(), 'D');
    EXPECT_EQ(started.currentDirectory('D'), "D:\\SUB");
    EXPECT_EQ(started.currentDirectory('C'), "C:\\");
}

TEST_F(DosFsTest, StartsInTheGivenDirectoryOtherwise) {
    const WorkingDirectory here(m_outside);
    const DosFileSystem started(
        DriveMap({Drive{'C', m_c, DriveKind::Fixed, {}}, Drive{'D', m_d, DriveKind::CdRom, {}}}), "D:\\SUB");
    EXPECT_EQ(started.currentDrive(), 'D');
    EXPECT_EQ(started.currentDirectory('D'), "D:\\SUB");
    EXPECT_EQ(started.currentDirectory('C'), "C:\\");
}

TEST_F(DosFsTest, ChangingAnotherDrivesDirectoryKeepsTheCurrentDrive) {
    // DOS: "CD D:\SUB" sets D:'s current directory; the current drive stays C:.
    ASSERT_TRUE(dos().changeDirectory("d:\\sub"));
    EXPECT_EQ(dos().currentDrive(), 'C');
    EXPECT_EQ(dos().currentDirectory('D'), "D:\\sub");
    ASSERT_TRUE(dos().setCurrentDrive('d'));
    EXPECT_EQ(dos().currentDrive(), 'D');
    EXPECT_EQ(*dos().resolve("..\\FILE.TXT"), m_d / "FILE.TXT");
}

TEST_F(DosFsTest, ChangeDirectoryRefusesWhatIsNotADirectory) {
    EXPECT_EQ(codeOf(dos().changeDirectory("C:\\NOPE")), PathErrorCode::PathNotFound);
    EXPECT_EQ(codeOf(dos().changeDirectory("C:\\programs.txt")), PathErrorCode::NotADirectory);
    EXPECT_EQ(codeOf(dos().changeDirectory("Q:\\")), PathErrorCode::UnknownDrive);
    EXPECT_EQ(codeOf(dos().setCurrentDrive('q')), PathErrorCode::UnknownDrive);
    EXPECT_EQ(dos().currentDirectory('C'), "C:\\");
}

TEST_F(DosFsTest, ADirectoryGoneSinceLeavesTheDriveAtItsRoot) {
    ASSERT_TRUE(dos().changeDirectory("C:\\GAMES"));
    ASSERT_TRUE(dos().setCurrentDrive('D'));
    fs::remove(m_c / "GAMES");
    ASSERT_TRUE(dos().setCurrentDrive('C'));
    EXPECT_EQ(dos().currentDirectory('C'), "C:\\");
}

// --- Directory search ------------------------------------------------------------------------------------------------

struct FindCase {
    const char* label;
    std::string directory;
    std::string name;
    bool directoriesOnly;
    std::string found;
};

class FindNameTest : public DosFsTest, public testing::WithParamInterface<FindCase> {};

TEST_P(FindNameTest, FindsTheHostSpelling) {
    const FindCase& c = GetParam();
    EXPECT_EQ(dos().findName(c.directory, c.name, c.directoriesOnly), c.found);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FindNameTest,
    testing::Values(FindCase{"exact", "C:\\", "programs.txt", false, "programs.txt"},
                    FindCase{"other_case", "c:\\", "PROGRAMS.TXT", false, "programs.txt"},
                    FindCase{"alias", "C:\\", "PROGRA~2", false, "Program Files"},
                    FindCase{"directory_wanted_and_found", "C:\\", "program data", true, "Program Data"},
                    FindCase{"file_when_directories_only", "C:\\", "programs.txt", true, ""},
                    FindCase{"in_a_subdirectory_by_alias", "C:\\PROGRA~2", "GAMEDA~1", true, "Game Data"},
                    FindCase{"missing", "C:\\", "NOPE", false, ""},
                    FindCase{"wildcards_are_not_patterns_here", "C:\\", "*.TXT", false, ""},
                    FindCase{"directory_missing", "C:\\NOPE", "X", false, ""}),
    RowLabel());

TEST_F(DosFsTest, FindNameIsRelativeToTheDrivesCurrentDirectory) {
    ASSERT_TRUE(dos().changeDirectory("C:\\Program Files"));
    EXPECT_EQ(dos().findName("C:", "game data"), "Game Data");
}

TEST_F(DosFsTest, ListsADirectoryInByteOrderWithShortNames) {
    const auto entries = dos().listDirectory("C:\\");
    ASSERT_TRUE(entries) << entries.error().message();
    std::vector<std::string> lines;
    for (const DirEntry& entry : *entries) {
        lines.push_back(entry.name + "|" + entry.shortName + "|" + (entry.isDirectory ? "dir" : "file") + "|" +
                        std::to_string(entry.size));
    }
    const std::vector<std::string> expected = {"GAMES|GAMES|dir|0", "Program Data|PROGRA~1|dir|0",
                                               "Program Files|PROGRA~2|dir|0", "programs.txt|programs.txt|file|4"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(codeOf(dos().listDirectory("C:\\programs.txt")), PathErrorCode::NotADirectory);
    EXPECT_EQ(codeOf(dos().listDirectory("C:\\NOPE")), PathErrorCode::PathNotFound);
}

// --- File services ---------------------------------------------------------------------------------------------------

TEST_F(DosFsTest, WritesAndReadsWholeFiles) {
    const std::string bytes("line\r\n\0\xff", 8);
    ASSERT_TRUE(dos().writeFile("C:\\GAMES\\NEW.BIN", bytes));
    EXPECT_EQ(*dos().readFile("c:\\games\\new.bin"), bytes);
    EXPECT_EQ(readText(m_c / "GAMES/NEW.BIN"), bytes);
    EXPECT_EQ(codeOf(dos().readFile("C:\\GAMES")), PathErrorCode::AccessDenied);
    EXPECT_EQ(codeOf(dos().writeFile("C:\\GAMES", "x")), PathErrorCode::AccessDenied);
    EXPECT_EQ(codeOf(dos().writeFile("C:\\NOPE\\X", "x")), PathErrorCode::PathNotFound);
}

TEST_F(DosFsTest, ReplacingAFileKeepsItsPermissionsAndLeavesNoTemporaryFile) {
    fs::permissions(m_c / "programs.txt", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(dos().writeFile("C:\\PROGRAMS.TXT", "replaced"));
    EXPECT_EQ(readText(m_c / "programs.txt"), "replaced");
    EXPECT_EQ(fs::status(m_c / "programs.txt").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_c)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"GAMES", "Program Data", "Program Files", "programs.txt"}));
}

TEST_F(DosFsTest, MakesAndRemovesDirectories) {
    ASSERT_TRUE(dos().makeDirectory("C:\\GAMES\\DEMO"));
    EXPECT_TRUE(fs::is_directory(m_c / "GAMES/DEMO"));

    const auto again = dos().makeDirectory("c:\\games\\demo");
    EXPECT_EQ(codeOf(again), PathErrorCode::AlreadyExists);
    EXPECT_EQ(again.error().message(), "c:\\games\\demo: already exists");
    const auto onFile = dos().makeDirectory("C:\\programs.txt");
    EXPECT_EQ(onFile.error().message(), "C:\\programs.txt: already exists: a file of that name exists");
    EXPECT_EQ(codeOf(dos().makeDirectory("C:\\NOPE\\X")), PathErrorCode::PathNotFound);
    EXPECT_EQ(codeOf(dos().makeDirectory("C:\\")), PathErrorCode::AlreadyExists);

    EXPECT_EQ(codeOf(dos().removeDirectory("C:\\PROGRA~2")), PathErrorCode::NotEmpty);
    EXPECT_EQ(codeOf(dos().removeDirectory("C:\\programs.txt")), PathErrorCode::NotADirectory);
    EXPECT_EQ(codeOf(dos().removeDirectory("C:\\")), PathErrorCode::AccessDenied);
    ASSERT_TRUE(dos().removeDirectory("C:\\GAMES\\DEMO"));
    EXPECT_FALSE(fs::exists(m_c / "GAMES/DEMO"));
}

TEST_F(DosFsTest, TheCurrentDirectoryCannotBeRemoved) {
    // DOS: "RD" of the current directory fails ("Attempt to remove current directory").
    ASSERT_TRUE(dos().changeDirectory("C:\\GAMES"));
    EXPECT_EQ(codeOf(dos().removeDirectory("c:\\games")), PathErrorCode::AccessDenied);
    EXPECT_TRUE(fs::is_directory(m_c / "GAMES"));
}

TEST_F(DosFsTest, RemovesFiles) {
    ASSERT_TRUE(dos().removeFile("C:\\PROGRAMS.TXT"));
    EXPECT_FALSE(fs::exists(m_c / "programs.txt"));
    EXPECT_EQ(codeOf(dos().removeFile("C:\\PROGRAMS.TXT")), PathErrorCode::FileNotFound);
    EXPECT_EQ(codeOf(dos().removeFile("C:\\GAMES")), PathErrorCode::AccessDenied);
}

TEST_F(DosFsTest, RenamesWithoutReplacingAnotherFile) {
    ASSERT_TRUE(dos().rename("C:\\programs.txt", "C:\\GAMES\\list.txt"));
    EXPECT_EQ(readText(m_c / "GAMES/list.txt"), "list");

    writeText(m_c / "GAMES/other.txt", "other");
    EXPECT_EQ(codeOf(dos().rename("C:\\GAMES\\LIST.TXT", "C:\\GAMES\\OTHER.TXT")), PathErrorCode::AlreadyExists);
    EXPECT_EQ(readText(m_c / "GAMES/other.txt"), "other");

    // A change of case only renames the file to the new spelling.
    ASSERT_TRUE(dos().rename("C:\\GAMES\\list.txt", "C:\\GAMES\\LIST.TXT"));
    EXPECT_TRUE(fs::exists(m_c / "GAMES/LIST.TXT"));
    EXPECT_FALSE(fs::exists(m_c / "GAMES/list.txt"));

    EXPECT_EQ(codeOf(dos().rename("C:\\NOPE", "C:\\X")), PathErrorCode::FileNotFound);
    EXPECT_EQ(codeOf(dos().rename("C:\\", "C:\\X")), PathErrorCode::AccessDenied);
}

TEST_F(DosFsTest, HostRefusalsBecomeAccessDenied) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    fs::permissions(m_c / "programs.txt", fs::perms::none);
    fs::permissions(m_c / "GAMES", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(codeOf(dos().readFile("C:\\programs.txt")), PathErrorCode::AccessDenied);
    EXPECT_EQ(codeOf(dos().writeFile("C:\\GAMES\\X", "x")), PathErrorCode::AccessDenied);
    EXPECT_EQ(codeOf(dos().makeDirectory("C:\\GAMES\\X")), PathErrorCode::AccessDenied);
}

// --- Messages --------------------------------------------------------------------------------------------------------

struct MessageCase {
    const char* label;
    PathError error;
    std::string message;
};

class PathErrorMessageTest : public testing::TestWithParam<MessageCase> {};

TEST_P(PathErrorMessageTest, SaysWhereAndWhat) {
    EXPECT_EQ(GetParam().error.message(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PathErrorMessageTest,
    testing::Values(
        MessageCase{"not_ready", {PathErrorCode::NotReady, "E:\\", {}}, "E:\\: drive not ready"},
        MessageCase{
            "path_not_found", {PathErrorCode::PathNotFound, "C:\\GAMES\\X", {}}, "C:\\GAMES\\X: path not found"},
        MessageCase{"file_not_found", {PathErrorCode::FileNotFound, "A.TXT", {}}, "A.TXT: file not found"},
        MessageCase{"cdrom", {PathErrorCode::ReadOnly, "D:\\X", {}}, "D:\\X: the drive is read-only (CD-ROM)"},
        MessageCase{"read_only_mount",
                    {PathErrorCode::ReadOnly, "C:\\X", "Read-only file system"},
                    "C:\\X: the drive is read-only: Read-only file system"},
        MessageCase{"outside", {PathErrorCode::OutsideDrive, "C:\\L", {}}, "C:\\L: outside the drive"},
        MessageCase{"unknown_drive", {PathErrorCode::UnknownDrive, "Q:", {}}, "Q:: no such drive"},
        MessageCase{"not_empty", {PathErrorCode::NotEmpty, "C:\\G", {}}, "C:\\G: directory not empty"},
        MessageCase{"io_error_with_reason",
                    {PathErrorCode::IoError, "C:\\BIG", "No space left on device"},
                    "C:\\BIG: read or write failed: No space left on device"}),
    RowLabel());

} // namespace
} // namespace spindeck::platform
