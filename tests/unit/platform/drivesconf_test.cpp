#include "platform/drivemap.h"
#include "support/scratch.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace spindeck::platform {
namespace {

using testing_support::RowLabel;

using testing_support::ScopedEnv;
using testing_support::ScratchDir;
using testing_support::writeText;

std::vector<std::string> describe(const std::vector<Drive>& drives) {
    std::vector<std::string> lines;
    lines.reserve(drives.size());
    for (const Drive& drive : drives) {
        lines.push_back(std::string{drive.letter} + " " + drive.root.string() + " " +
                        std::to_string(static_cast<int>(drive.kind)) + " [" + drive.label + "]");
    }
    return lines;
}

TEST(DrivesConfTest, ReadsSectionsKeysAndComments) {
    const std::string text = "# drives for the demo\r\n"
                             "[c]\r\n"
                             "path = ~/dos\r\n"
                             "kind=fixed\r\n"
                             "label=My DOS\r\n"
                             "\r\n"
                             "; the disc\n"
                             "[D]\n"
                             "path=/media/cdrom/\n"
                             "KIND=CDROM\n"
                             "[R]\n"
                             "path=~\n";
    const auto drives = parseDrivesConf(text, "/home/ann");
    ASSERT_TRUE(drives) << drives.error().message;
    const std::vector<std::string> expected = {"C /home/ann/dos 3 [My DOS]", "D /media/cdrom 5 []", "R /home/ann 3 []"};
    EXPECT_EQ(describe(*drives), expected);
}

struct ConfErrorCase {
    const char* label;
    std::string text;
    int line;
    std::string message;
};

class DrivesConfErrorTest : public testing::TestWithParam<ConfErrorCase> {};

TEST_P(DrivesConfErrorTest, ReportsTheLineAndReason) {
    const auto drives = parseDrivesConf(GetParam().text, "/home/ann");
    ASSERT_FALSE(drives);
    EXPECT_EQ(drives.error().line, GetParam().line);
    EXPECT_EQ(drives.error().message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DrivesConfErrorTest,
    testing::Values(
        ConfErrorCase{"unknown_key", "[C]\npath=/x\nsize=3\n", 3, "unknown key \"size\" (path, kind or label)"},
        ConfErrorCase{"bad_kind", "[C]\npath=/x\n\nkind=floppy\n", 4,
                      "unknown kind \"floppy\" (removable, fixed, remote, cdrom or ramdisk)"},
        ConfErrorCase{"relative_path", "[C]\r\npath=dos/games\r\n", 2,
                      "path must be an absolute directory (starting with / or ~/): \"dos/games\""},
        ConfErrorCase{"tilde_of_another_user", "[C]\npath=~bob/dos\n", 2,
                      "path must be an absolute directory (starting with / or ~/): \"~bob/dos\""},
        ConfErrorCase{"key_before_any_section", "# x\npath=/x\n[C]\n", 2, "\"path\" comes before any [letter] section"},
        ConfErrorCase{"duplicate_letter_either_case", "[C]\npath=/a\n[c]\npath=/b\n", 3,
                      "drive C: is already defined on line 1"},
        ConfErrorCase{"section_without_path", "[C]\npath=/a\n[D]\nkind=cdrom\n", 3, "drive D: has no path"},
        ConfErrorCase{"path_twice", "[C]\npath=/a\npath=/b\n", 3, "path is given twice for this drive"},
        ConfErrorCase{"section_of_two_letters", "[CD]\npath=/a\n", 1, "\"CD\" is not a drive letter (A to Z)"},
        ConfErrorCase{"section_not_closed", "[C\npath=/a\n", 1, "a section line must end with \"]\""},
        ConfErrorCase{"line_without_equals", "[C]\npath=/a\nlabel\n", 3, "expected \"[letter]\" or \"key=value\""},
        ConfErrorCase{"no_drives_at_all", "# nothing\n\n", 0, "no drives are defined"},
        ConfErrorCase{"empty_file", "", 0, "no drives are defined"}),
    RowLabel());

std::string fixture(const std::string& name) {
    std::ifstream in(std::string(SPINDECK_FIXTURES) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(DefaultDrivesTest, TakesOpticalRemovableAndNetworkMediaFromMountinfo) {
    std::vector<std::string> probed;
    const RemovableProbe probe = [&probed](std::string_view majorMinor) {
        probed.emplace_back(majorMinor);
        return majorMinor == "8:17"; // the USB stick; 8:2 is an internal disk
    };
    const std::vector<Drive> drives = defaultDrives("/home/ann", fixture("mountinfo/sample.txt"), probe);
    // Not here: /mnt/data (ext4 on a fixed disk), tmpfs and proc mounts, and anything outside
    // /media, /run/media and /mnt.
    const std::vector<std::string> expected = {
        "C /home/ann 3 []",
        "D /media/user/DISC 1 5 [DISC 1]",
        "E /run/media/user/USB STICK 2 [USB STICK]",
        "F /mnt/share 4 [share]",
        "Z / 3 []",
    };
    EXPECT_EQ(describe(drives), expected);
    // Only block devices under the media folders whose kind the file system type does not give.
    EXPECT_EQ(probed, (std::vector<std::string>{"8:2", "8:17"}));
}

TEST(DefaultDrivesTest, CopesWithEmptyOrBrokenMountinfo) {
    const RemovableProbe never = [](std::string_view) { return false; };
    const std::string broken = "garbage\n1 2\n40 22 11:0 / /media/x ro - \n41 22 11:0 / /media/y ro\n";
    EXPECT_EQ(describe(defaultDrives("/home/ann", broken, never)),
              (std::vector<std::string>{"C /home/ann 3 []", "Z / 3 []"}));
}

TEST(DriveTest, ListTextShowsLowerCaseLetterAndLabel) {
    EXPECT_EQ((Drive{'C', "/home/ann", DriveKind::Fixed, "DOS"}).listText(), "c: [DOS]");
    EXPECT_EQ((Drive{'Z', "/", DriveKind::Fixed, ""}).listText(), "z:");
}

TEST(DriveMapTest, FindsDrivesByEitherCaseAndTellsReadiness) {
    ScratchDir dir;
    const DriveMap map(
        {Drive{'d', dir.path(), DriveKind::CdRom, {}}, Drive{'C', dir / "missing", DriveKind::Fixed, {}}});
    ASSERT_NE(map.drive('D'), nullptr);
    EXPECT_EQ(map.drive('d'), map.drive('D'));
    EXPECT_EQ(map.drive('D')->letter, 'D');
    EXPECT_EQ(map.drive('E'), nullptr);
    EXPECT_EQ(map.drives().front().letter, 'C'); // sorted by letter
    EXPECT_TRUE(map.isReady('d'));
    EXPECT_FALSE(map.isReady('C'));
    EXPECT_FALSE(map.isReady('E'));
}

struct DosPathOfCase {
    const char* label;
    std::string host;
    std::optional<std::string> dos;
};

class DosPathOfTest : public testing::TestWithParam<DosPathOfCase> {};

TEST_P(DosPathOfTest, UsesTheLongestRootByWholeNames) {
    const DriveMap map({Drive{'C', "/home/a", DriveKind::Fixed, {}}, Drive{'D', "/home/a/games", DriveKind::Fixed, {}},
                        Drive{'E', "/srv/", DriveKind::Fixed, {}}});
    EXPECT_EQ(map.dosPathOf(GetParam().host), GetParam().dos);
}

INSTANTIATE_TEST_SUITE_P(Table, DosPathOfTest,
                         testing::Values(DosPathOfCase{"the_root_itself", "/home/a", "C:\\"},
                                         DosPathOfCase{"below_a_root", "/home/a/docs/x.txt", "C:\\docs\\x.txt"},
                                         DosPathOfCase{"longer_root_wins", "/home/a/games/demo", "D:\\demo"},
                                         DosPathOfCase{"name_sharing_a_prefix_is_not_below", "/home/ab/x",
                                                       std::nullopt},
                                         DosPathOfCase{"root_written_with_slash", "/srv/www", "E:\\www"},
                                         DosPathOfCase{"dot_dot_is_normalised", "/home/a/games/../docs", "C:\\docs"},
                                         DosPathOfCase{"relative_path", "home/a", std::nullopt},
                                         DosPathOfCase{"backslash_in_a_host_name", "/home/a/odd\\name", std::nullopt}),
                         RowLabel());

TEST(DriveMapTest, ProgramDirectoryIsWhereTheExecutableLies) {
    const std::filesystem::path executable = std::filesystem::canonical("/proc/self/exe");
    const DriveMap map(
        {Drive{'C', executable.parent_path(), DriveKind::Fixed, {}}, Drive{'Z', "/", DriveKind::Fixed, {}}});
    EXPECT_EQ(programDirectory(map), "C:\\");
    const DriveMap rootOnly({Drive{'Z', "/", DriveKind::Fixed, {}}});
    EXPECT_EQ(programDirectory(rootOnly), *rootOnly.dosPathOf(executable.parent_path()));
}

TEST(RemovableProbeTest, RefusesTextThatIsNotADeviceNumber) {
    EXPECT_FALSE(isRemovableBlockDevice("../../../etc"));
    EXPECT_FALSE(isRemovableBlockDevice("8:"));
    EXPECT_FALSE(isRemovableBlockDevice(""));
    EXPECT_FALSE(isRemovableBlockDevice("999999:999999")); // no such device
}

class LoadDriveMapTest : public testing::Test {
protected:
    ScratchDir m_dir;
    ScopedEnv m_home{"HOME", (m_dir / "home").string()};
    ScopedEnv m_config{"XDG_CONFIG_HOME", (m_dir / "config").string()};
    std::filesystem::path m_file = m_dir / "config/spindeck/drives.conf";
};

TEST_F(LoadDriveMapTest, WithoutAFileTheDefaultMapIsUsed) {
    EXPECT_EQ(drivesConfPath(), m_file);
    const LoadedDriveMap loaded = loadDriveMap();
    EXPECT_FALSE(loaded.problem.has_value());
    ASSERT_GE(loaded.drives.size(), 2U);
    EXPECT_EQ(describe({loaded.drives.front()}).front(), "C " + (m_dir / "home").string() + " 3 []");
    EXPECT_EQ(describe({loaded.drives.back()}).front(), "Z / 3 []");
}

TEST_F(LoadDriveMapTest, TheFileIsTheWholeMap) {
    writeText(m_file, "[C]\npath=~/dos\nlabel=DOS\n[E]\npath=/srv\nkind=remote\n");
    const LoadedDriveMap loaded = loadDriveMap();
    EXPECT_FALSE(loaded.problem.has_value());
    EXPECT_EQ(describe(loaded.drives),
              (std::vector<std::string>{"C " + (m_dir / "home/dos").string() + " 3 [DOS]", "E /srv 4 []"}));
}

TEST_F(LoadDriveMapTest, AMalformedFileGivesTheDefaultMapAndAProblemNamingFileAndLine) {
    writeText(m_file, "[C]\npath=~/dos\nkind=floppy\n");
    const LoadedDriveMap loaded = loadDriveMap();
    ASSERT_TRUE(loaded.problem.has_value());
    EXPECT_EQ(*loaded.problem,
              m_file.string() + ": line 3: unknown kind \"floppy\" (removable, fixed, remote, cdrom or ramdisk)");
    EXPECT_EQ(loaded.drives.front().root, m_dir / "home");
}

TEST_F(LoadDriveMapTest, AnUnreadableFileIsAProblem) {
    std::filesystem::create_directories(m_file); // a directory where the file should be
    const LoadedDriveMap loaded = loadDriveMap();
    ASSERT_TRUE(loaded.problem.has_value());
    EXPECT_EQ(*loaded.problem, m_file.string() + ": is a directory, not a file");
    EXPECT_EQ(loaded.drives.back().root, "/");
}

TEST_F(LoadDriveMapTest, ARelativeConfigHomeIsIgnored) {
    const ScopedEnv relative("XDG_CONFIG_HOME", "relative/dir");
    EXPECT_EQ(drivesConfPath(), m_dir / "home/.config/spindeck/drives.conf");
}

} // namespace
} // namespace spindeck::platform
