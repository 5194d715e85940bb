#include "shell/archive/archivecommands.h"
#include "support/archives.h"
#include "support/scratch.h"

#include <algorithm>
#include <array>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

namespace spindeck::shell::archive {
namespace {

namespace fs = std::filesystem;
using platform::DosFileSystem;
using platform::Drive;
using platform::DriveKind;
using platform::DriveMap;
using platform::testing_support::FixtureEntry;
using platform::testing_support::readText;
using platform::testing_support::RowLabel;
using platform::testing_support::ScopedEnv;
using platform::testing_support::ScratchDir;
using platform::testing_support::writeLzh;
using platform::testing_support::writeRar;
using platform::testing_support::writeText;
using platform::testing_support::writeZip;

struct Outcome {
    int errorlevel = 0;
    std::vector<std::string> printed;
    std::vector<std::string> errors;

    [[nodiscard]] bool printedLine(std::string_view line) const {
        return std::find(printed.begin(), printed.end(), line) != printed.end();
    }
    // Everything said, for a failure message.
    [[nodiscard]] std::string errorText() const {
        std::string text;
        for (const std::string& line : printed) {
            text += line + "\n";
        }
        for (const std::string& line : errors) {
            text += "error: " + line + "\n";
        }
        return text;
    }
};

// The game every test unpacks: a file at the top, two in folders, and an empty folder.
const std::vector<FixtureEntry> kGame{
    {"README.TXT", "read me"},
    {"DATA/LEVEL1.DAT", "level one"},
    {"DATA/SUB/DEEP.DAT", "deep"},
    {"EMPTY/", "", FixtureEntry::Type::Directory},
};

// C: fixed, D: CD-ROM; "outside" plays the rest of the host. C:\GAME.ZIP, C:\GAME.LZH and
// C:\GAME.RAR hold the game; C:\TARGET exists.
class ArchiveCommandTest : public testing::Test {
protected:
    ArchiveCommandTest() {
        fs::create_directories(m_c / "TARGET");
        fs::create_directories(m_d);
        fs::create_directories(m_outside);
        writeZip(m_c / "GAME.ZIP", kGame);
        writeLzh(m_c / "GAME.LZH", kGame);
        writeRar(m_c / "GAME.RAR", kGame);
        m_fs.emplace(DriveMap({Drive{'C', m_c, DriveKind::Fixed, {}}, Drive{'D', m_d, DriveKind::CdRom, {}}}), "C:\\");
    }

    Outcome run(std::string_view program, const std::vector<std::string>& args) {
        Outcome outcome;
        const ArchiveOutput out{[&](std::string_view line) { outcome.printed.emplace_back(line); },
                                [&](std::string_view line) { outcome.errors.emplace_back(line); }};
        outcome.errorlevel = runArchiveCommand(program, args, *m_fs, out);
        return outcome;
    }

    // Every file below a host folder, relative, in name order.
    static std::vector<std::string> filesBelow(const fs::path& folder) {
        std::vector<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (!entry.is_directory()) {
                files.push_back(entry.path().lexically_relative(folder).generic_string());
            }
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    ScratchDir m_dir;
    fs::path m_c = m_dir / "c";
    fs::path m_d = m_dir / "d";
    fs::path m_outside = m_dir / "outside";
    std::optional<DosFileSystem> m_fs;
};

// --- Where the files go ----------------------------------------------------------------------------------------------

struct PlacementRow {
    std::string label;
    std::string program;
    std::vector<std::string> args;
    std::vector<std::string> files; // every file below C:\ afterwards, the archives left out
};

class PlacementTest : public ArchiveCommandTest, public testing::WithParamInterface<PlacementRow> {};

TEST_P(PlacementTest, PutsTheFilesWhereTheProgramWould) {
    const PlacementRow& row = GetParam();
    const Outcome outcome = run(row.program, row.args);
    EXPECT_EQ(outcome.errorlevel, 0) << outcome.errorText();
    std::vector<std::string> files = filesBelow(m_c);
    std::erase_if(files, [](const std::string& name) { return name.starts_with("GAME."); });
    EXPECT_EQ(files, row.files);
}

const std::vector<std::string> kFlat{"DEEP.DAT", "LEVEL1.DAT", "README.TXT"};
const std::vector<std::string> kFolders{"DATA/LEVEL1.DAT", "DATA/SUB/DEEP.DAT", "README.TXT"};

INSTANTIATE_TEST_SUITE_P(
    Programs, PlacementTest,
    testing::Values(
        PlacementRow{"pkunzip_flat", "PKUNZIP", {"GAME.ZIP"}, kFlat},
        PlacementRow{"pkunzip_d_keeps_folders", "PKUNZIP", {"-d", "GAME.ZIP"}, kFolders},
        PlacementRow{"pkunzip_without_extension", "PKUNZIP", {"-d", "c:game"}, kFolders},
        PlacementRow{"pkunzip_target_created",
                     "PKUNZIP",
                     {"-d", "GAME.ZIP", "C:\\NEW\\DIR\\"},
                     {"NEW/DIR/DATA/LEVEL1.DAT", "NEW/DIR/DATA/SUB/DEEP.DAT", "NEW/DIR/README.TXT"}},
        // As in an install batch file: the target folder without a separator, the switch last.
        PlacementRow{"pkunzip_existing_target_switch_after_names",
                     "PKUNZIP",
                     {"game.zip", "target", "-o"},
                     {"TARGET/DEEP.DAT", "TARGET/LEVEL1.DAT", "TARGET/README.TXT"}},
        PlacementRow{"pkunzip_pattern_with_folders",
                     "PKUNZIP",
                     {"-d", "GAME.ZIP", "*.DAT"},
                     {"DATA/LEVEL1.DAT", "DATA/SUB/DEEP.DAT"}},
        PlacementRow{"pkunzip_path_pattern", "PKUNZIP", {"GAME.ZIP", "data\\sub\\*.*"}, {"DEEP.DAT"}},
        PlacementRow{
            "pkunzip_two_patterns", "PKUNZIP", {"GAME.ZIP", "README.TXT", "LEVEL?.DAT"}, {"LEVEL1.DAT", "README.TXT"}},
        PlacementRow{"unzip_keeps_folders", "UNZIP", {"-q", "GAME.ZIP"}, kFolders},
        PlacementRow{"unzip_j_flat", "UNZIP", {"-j", "GAME"}, kFlat},
        PlacementRow{"unzip_x_leaves_files_out", "UNZIP", {"GAME.ZIP", "-x", "*.DAT"}, {"README.TXT"}},
        PlacementRow{"unzip_d_target", "UNZIP", {"GAME.ZIP", "-d", "C:\\OUT", "README.TXT"}, {"OUT/README.TXT"}},
        PlacementRow{"lha_x_keeps_folders", "LHA", {"x", "GAME"}, kFolders},
        PlacementRow{"lha_e_flat", "LHA", {"e", "GAME.LZH"}, kFlat},
        PlacementRow{"unrar_x_keeps_folders", "UNRAR", {"x", "GAME"}, kFolders},
        PlacementRow{"unrar_e_flat_target_last",
                     "UNRAR",
                     {"e", "GAME.RAR", "*.DAT", "C:\\TARGET\\"},
                     {"TARGET/DEEP.DAT", "TARGET/LEVEL1.DAT"}},
        PlacementRow{"lharc_x_target_and_pattern",
                     "LHARC",
                     {"x", "C:\\GAME", "C:\\TARGET\\", "*.*"},
                     {"TARGET/DATA/LEVEL1.DAT", "TARGET/DATA/SUB/DEEP.DAT", "TARGET/README.TXT"}}),
    RowLabel());

TEST_F(ArchiveCommandTest, KeepsEmptyFoldersAndShowsAProgressLinePerFile) {
    const Outcome outcome = run("PKUNZIP", {"-d", "GAME.ZIP"});
    ASSERT_EQ(outcome.errorlevel, 0) << outcome.errorText();
    EXPECT_TRUE(fs::is_directory(m_c / "EMPTY"));
    EXPECT_EQ(readText(m_c / "DATA/SUB/DEEP.DAT"), "deep");
    EXPECT_EQ(outcome.printed,
              (std::vector<std::string>{"Searching ZIP: C:\\GAME.ZIP", "  Inflating: C:\\README.TXT",
                                        "  Inflating: C:\\DATA\\LEVEL1.DAT", "  Inflating: C:\\DATA\\SUB\\DEEP.DAT"}));
}

TEST_F(ArchiveCommandTest, ExistingNamesOfAnyCaseOrTheirShortNamesAreTheSameFile) {
    writeText(m_c / "TARGET/readme.txt", "mine");
    writeText(m_c / "TARGET/Long File Name.txt", "mine too");
    writeZip(m_c / "NAMES.ZIP", {{"FIRST.TXT", "first"}, {"README.TXT", "new"}, {"LONGFI~1.TXT", "new too"}});
    const Outcome outcome = run("PKUNZIP", {"-o", "NAMES", "TARGET"});
    EXPECT_EQ(outcome.errorlevel, 0) << outcome.errorText();
    EXPECT_EQ(filesBelow(m_c / "TARGET"), (std::vector<std::string>{"FIRST.TXT", "Long File Name.txt", "readme.txt"}));
    EXPECT_EQ(readText(m_c / "TARGET/readme.txt"), "new");
    EXPECT_EQ(readText(m_c / "TARGET/Long File Name.txt"), "new too");
}

TEST_F(ArchiveCommandTest, ArchiveNameWithWildcardsUnpacksEveryMatch) {
    writeZip(m_c / "TARGET/DISK1.ZIP", {{"ONE.TXT", "1"}});
    writeZip(m_c / "TARGET/DISK2.ZIP", {{"TWO.TXT", "2"}});
    writeZip(m_c / "TARGET/OTHER.ZIP", {{"OTHER.TXT", "other"}});
    const Outcome outcome = run("PKUNZIP", {"target\\disk?", "C:\\OUT\\"});
    EXPECT_EQ(outcome.errorlevel, 0) << outcome.errorText();
    EXPECT_EQ(filesBelow(m_c / "OUT"), (std::vector<std::string>{"ONE.TXT", "TWO.TXT"}));
    EXPECT_TRUE(outcome.printedLine("Searching ZIP: C:\\target\\DISK2.ZIP"));
}

TEST_F(ArchiveCommandTest, RestoresTheStoredTimeAndUsesExistingFoldersOfAnyCase) {
    fs::create_directories(m_c / "data");
    const Outcome outcome = run("UNZIP", {"GAME.ZIP"});
    ASSERT_EQ(outcome.errorlevel, 0) << outcome.errorText();
    EXPECT_EQ(readText(m_c / "data/LEVEL1.DAT"), "level one");
    EXPECT_FALSE(fs::exists(m_c / "DATA"));
    struct stat info {};
    ASSERT_EQ(::stat((m_c / "README.TXT").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, kGame[0].modified);
}

TEST_F(ArchiveCommandTest, NamesInUtf8AndInTheDosCodePageArriveAsUtf8InEveryLocale) {
    // 0x81 is u with diaeresis in code page 437, the code page of names written by DOS archivers.
    writeZip(m_c / "NAMES.ZIP", {{"M\xC3\xBC"
                                  "LL.TXT",
                                  "utf-8"},
                                 {"D\x81"
                                  "SE.TXT",
                                  "dos"}});
    for (const char* locale : {"C", "C.UTF-8"}) {
        SCOPED_TRACE(locale);
        fs::remove_all(m_c / "TARGET");
        fs::create_directories(m_c / "TARGET");
        std::setlocale(LC_ALL, locale);
        const Outcome outcome = run("PKUNZIP", {"NAMES", "TARGET"});
        std::setlocale(LC_ALL, "C");
        EXPECT_EQ(outcome.errorlevel, 0) << outcome.errorText();
        EXPECT_EQ(filesBelow(m_c / "TARGET"), (std::vector<std::string>{"D\xC3\xBC"
                                                                        "SE.TXT",
                                                                        "M\xC3\xBC"
                                                                        "LL.TXT"}));
    }
}

// --- Files that are already there ------------------------------------------------------------------------------------

struct OverwriteRow {
    std::string label;
    std::string program;
    std::vector<std::string> args;
    bool existingIsNewer;
    bool replaced;
    bool reported; // a line says the file was kept
};

class OverwriteTest : public ArchiveCommandTest, public testing::WithParamInterface<OverwriteRow> {};

TEST_P(OverwriteTest, FollowsTheProgramsOption) {
    const OverwriteRow& row = GetParam();
    writeText(m_c / "README.TXT", "mine");
    const std::time_t day = 24 * 3600;
    const std::time_t existing = kGame[0].modified + (row.existingIsNewer ? day : -day);
    const std::array<timespec, 2> times{timespec{existing, 0}, timespec{existing, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (m_c / "README.TXT").c_str(), times.data(), 0), 0);

    const Outcome outcome = run(row.program, row.args);
    EXPECT_EQ(outcome.errorlevel, 0) << outcome.errorText();
    EXPECT_EQ(readText(m_c / "README.TXT"), row.replaced ? "read me" : "mine");
    EXPECT_EQ(outcome.printedLine("  Skipped: C:\\README.TXT already exists (no overwrite option given)"),
              row.reported);
    EXPECT_EQ(readText(m_c / "LEVEL1.DAT"), "level one"); // the other files still come
}

INSTANTIATE_TEST_SUITE_P(
    Options, OverwriteTest,
    testing::Values(OverwriteRow{"pkunzip_without_o_skips_and_says_so", "PKUNZIP", {"GAME"}, false, false, true},
                    OverwriteRow{"pkunzip_o_replaces", "PKUNZIP", {"-o", "GAME"}, true, true, false},
                    OverwriteRow{"pkunzip_n_replaces_older", "PKUNZIP", {"-n", "GAME"}, false, true, false},
                    OverwriteRow{"pkunzip_n_keeps_newer", "PKUNZIP", {"-n", "GAME"}, true, false, false},
                    OverwriteRow{"unzip_n_keeps_quietly", "UNZIP", {"-jn", "GAME"}, false, false, false},
                    OverwriteRow{"unzip_o_replaces", "UNZIP", {"-jo", "GAME"}, true, true, false},
                    OverwriteRow{"lha_m_replaces_older", "LHA", {"e", "/m", "GAME"}, false, true, false},
                    OverwriteRow{"lha_m_keeps_newer", "LHA", {"e", "/m", "GAME"}, true, false, false},
                    OverwriteRow{"lha_alone_skips_and_says_so", "LHA", {"e", "GAME"}, false, false, true}),
    RowLabel());

// --- Nothing leaves the drive map ------------------------------------------------------------------------------------

struct HostileRow {
    std::string label;
    FixtureEntry entry;
    std::string message;
};

class ConfinementTest : public ArchiveCommandTest, public testing::WithParamInterface<HostileRow> {};

TEST_P(ConfinementTest, RefusesTheEntryAndUnpacksTheRest) {
    const HostileRow& row = GetParam();
    writeZip(m_c / "TARGET/EVIL.ZIP", {row.entry, {"GOOD.TXT", "good"}});
    const Outcome outcome = run("PKUNZIP", {"-d", "-o", "C:\\TARGET\\EVIL.ZIP", "C:\\TARGET\\"});
    EXPECT_NE(outcome.errorlevel, 0);
    EXPECT_EQ(outcome.errors, std::vector<std::string>{row.message});
    EXPECT_EQ(filesBelow(m_c / "TARGET"), (std::vector<std::string>{"EVIL.ZIP", "GOOD.TXT"}));
    EXPECT_TRUE(filesBelow(m_outside).empty());
    EXPECT_FALSE(fs::exists(m_dir / "x"));
    if (row.entry.name.starts_with('/')) {
        EXPECT_FALSE(fs::exists(row.entry.name));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ConfinementTest,
    testing::Values(HostileRow{"parent_folders", {"../../x", "escaped"}, "Unsafe name refused - ../../x"},
                    HostileRow{"drive_name", {"C:\\AUTOEXEC.BAT", "escaped"}, "Unsafe name refused - C:/AUTOEXEC.BAT"},
                    HostileRow{"absolute_name",
                               {(fs::temp_directory_path() / "spindeck-absolute-x").string(), "abs"},
                               "Unsafe name refused - " + (fs::temp_directory_path() / "spindeck-absolute-x").string()},
                    HostileRow{
                        "symlink_out", {"LINK", "../../outside", FixtureEntry::Type::Symlink}, "Link refused - LINK"},
                    HostileRow{"symlink_in", {"LINK", "GOOD.TXT", FixtureEntry::Type::Symlink}, "Link refused - LINK"}),
    RowLabel());

TEST_F(ArchiveCommandTest, ArchiveOnTheCdRomUnpacksToAFixedDrive) {
    fs::create_directories(m_d / "INSTALL");
    writeZip(m_d / "INSTALL/GAME.ZIP", kGame);
    const Outcome outcome = run("PKUNZIP", {"-d", "d:\\install\\game", "C:\\GAMES\\DEMO"});
    EXPECT_EQ(outcome.errorlevel, 0) << outcome.errorText();
    EXPECT_EQ(filesBelow(m_c / "GAMES/DEMO"),
              (std::vector<std::string>{"DATA/LEVEL1.DAT", "DATA/SUB/DEEP.DAT", "README.TXT"}));
}

TEST_F(ArchiveCommandTest, CdRomTargetIsAccessDenied) {
    const Outcome outcome = run("PKUNZIP", {"-d", "GAME.ZIP", "D:\\"});
    EXPECT_NE(outcome.errorlevel, 0);
    ASSERT_EQ(outcome.errors.size(), 1U) << outcome.errorText(); // one message, not one per file
    EXPECT_EQ(outcome.errors[0].rfind("Access denied - D:\\", 0), 0U) << outcome.errors[0];
    EXPECT_TRUE(filesBelow(m_d).empty());
}

TEST_F(ArchiveCommandTest, TargetFolderLinkedOutOfTheDriveIsRefused) {
    fs::create_directory_symlink(m_outside, m_c / "ESCAPE");
    const Outcome outcome = run("PKUNZIP", {"GAME.ZIP", "C:\\ESCAPE\\"});
    EXPECT_NE(outcome.errorlevel, 0);
    EXPECT_FALSE(outcome.errors.empty());
    EXPECT_TRUE(filesBelow(m_outside).empty());
}

TEST_F(ArchiveCommandTest, ExistingLinkIsReplacedNotWrittenThrough) {
    writeText(m_c / "TARGET/OTHER.TXT", "kept");
    fs::create_symlink("OTHER.TXT", m_c / "TARGET/README.TXT");
    const Outcome outcome = run("PKUNZIP", {"-o", "GAME.ZIP", "TARGET", "README.TXT"});
    EXPECT_EQ(outcome.errorlevel, 0) << outcome.errorText();
    EXPECT_EQ(readText(m_c / "TARGET/OTHER.TXT"), "kept");
    EXPECT_FALSE(fs::is_symlink(m_c / "TARGET/README.TXT"));
    EXPECT_EQ(readText(m_c / "TARGET/README.TXT"), "read me");
}

// --- Failures --------------------------------------------------------------------------------------------------------

struct FailureRow {
    std::string label;
    std::string program;
    std::vector<std::string> args;
    int errorlevel;
    std::string message;
};

class FailureTest : public ArchiveCommandTest, public testing::WithParamInterface<FailureRow> {
protected:
    FailureTest() {
        writeText(m_c / "NOISE.ZIP", std::string(2000, 'x'));
        const std::string whole = readText(m_c / "GAME.ZIP");
        writeText(m_c / "HALF.ZIP", whole.substr(0, whole.size() / 2));
        writeZip(m_c / "STORED.ZIP", kGame, true);
        std::string stored = readText(m_c / "STORED.ZIP");
        stored.replace(stored.find("read me"), 7, "reed me"); // no longer what its checksum says
        writeText(m_c / "BADSUM.ZIP", stored);
        writeText(m_c / "README.TXT", "mine"); // an existing file that must survive every failure
    }
};

TEST_P(FailureTest, ReportsInDosStyleAndLeavesFilesAlone) {
    const FailureRow& row = GetParam();
    const Outcome outcome = run(row.program, row.args);
    EXPECT_EQ(outcome.errorlevel, row.errorlevel);
    ASSERT_FALSE(outcome.errors.empty()) << outcome.errorText();
    EXPECT_EQ(outcome.errors.front().substr(0, row.message.size()), row.message) << outcome.errorText();
    EXPECT_EQ(readText(m_c / "README.TXT"), "mine");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailureTest,
    testing::Values(
        FailureRow{"missing_archive", "PKUNZIP", {"NOPE"}, 9, "File not found - NOPE"},
        FailureRow{"missing_folder", "UNZIP", {"C:\\NOWHERE\\A.ZIP"}, 9, "File not found - C:\\NOWHERE"},
        FailureRow{"not_a_zip", "PKUNZIP", {"-o", "NOISE.ZIP"}, 3, "Damaged archive - C:\\NOISE.ZIP"},
        FailureRow{"cut_short", "PKUNZIP", {"-o", "HALF.ZIP"}, 3, "Damaged archive - C:\\HALF.ZIP"},
        FailureRow{"zip_given_to_lha", "LHA", {"e", "/c", "GAME.ZIP"}, 3, "Damaged archive - C:\\GAME.ZIP"},
        FailureRow{"zip_given_to_unrar", "UNRAR", {"e", "-o+", "GAME.ZIP"}, 3, "Damaged archive - C:\\GAME.ZIP"},
        FailureRow{"wrong_checksum_keeps_the_old_file",
                   "PKUNZIP",
                   {"-o", "BADSUM"},
                   3,
                   "Damaged archive entry - C:\\README.TXT"},
        FailureRow{
            "no_matching_file", "PKUNZIP", {"-o", "GAME", "*.EXE"}, 11, "No files found to extract - C:\\GAME.ZIP"},
        FailureRow{"unknown_drive", "PKUNZIP", {"-o", "GAME", "Q:\\"}, 1, "Invalid drive - Q:"},
        FailureRow{"file_in_the_way_of_a_folder",
                   "PKUNZIP",
                   {"-o", "GAME", "C:\\README.TXT\\SUB\\"},
                   1,
                   "Cannot create folder C:\\README.TXT"}),
    RowLabel());

// A file size limit stands in for a full disk: writes beyond it fail as they would there.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST_F(ArchiveCommandTest, DiskFullStopsAndLeavesNoPartialFile) {
    writeZip(m_c / "BIG.ZIP", {{"BIG.DAT", std::string(1 << 20, 'b')}, {"AFTER.TXT", "after"}});
    Outcome outcome;
    {
        const FileSizeLimit limit(64 * 1024);
        outcome = run("PKUNZIP", {"BIG.ZIP", "TARGET"});
    }
    EXPECT_EQ(outcome.errorlevel, 50);
    EXPECT_EQ(outcome.errors, std::vector<std::string>{"Disk full - C:\\TARGET\\BIG.DAT"});
    EXPECT_TRUE(filesBelow(m_c / "TARGET").empty());
}

// --- ARJ archives through the arj program ----------------------------------------------------------------------------

class ArjTest : public ArchiveCommandTest {
protected:
    void SetUp() override {
        if (std::system("command -v arj >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "the arj program is not installed";
        }
        const fs::path staging = m_dir / "staging";
        writeText(staging / "README.TXT", "read me");
        writeText(staging / "DATA/LEVEL1.DAT", "level one");
        const std::string command = "cd '" + staging.string() + "' && arj a -r -y '" + (m_c / "GAME.ARJ").string() +
                                    "' README.TXT DATA/LEVEL1.DAT >/dev/null 2>&1 </dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
};

TEST_F(ArjTest, ExtractsWithAndWithoutFolders) {
    Outcome outcome = run("ARJ", {"x", "-y", "GAME", "C:\\NEW\\"});
    EXPECT_EQ(outcome.errorlevel, 0) << outcome.errorText();
    EXPECT_EQ(filesBelow(m_c / "NEW"), (std::vector<std::string>{"DATA/LEVEL1.DAT", "README.TXT"}));
    EXPECT_TRUE(outcome.printedLine("  Unpacking: DATA/LEVEL1.DAT")); // while the program works
    EXPECT_TRUE(outcome.printedLine("Extracting C:\\NEW\\DATA\\LEVEL1.DAT"));

    outcome = run("UNARJ", {"e", "GAME.ARJ", "TARGET", "*.DAT"});
    EXPECT_EQ(outcome.errorlevel, 0) << outcome.errorText();
    EXPECT_EQ(filesBelow(m_c / "TARGET"), (std::vector<std::string>{"LEVEL1.DAT"}));
}

TEST_F(ArjTest, DamagedArchiveAndCdRomTargetFail) {
    writeText(m_c / "NOISE.ARJ", std::string(500, 'x'));
    Outcome outcome = run("ARJ", {"x", "NOISE"});
    EXPECT_EQ(outcome.errorlevel, 3);
    EXPECT_EQ(outcome.errors, std::vector<std::string>{"Damaged archive - C:\\NOISE.ARJ: not an ARJ archive"});

    outcome = run("ARJ", {"e", "GAME", "D:\\"});
    EXPECT_NE(outcome.errorlevel, 0);
    EXPECT_TRUE(filesBelow(m_d).empty());
}

TEST_F(ArchiveCommandTest, WithoutTheArjProgramArjIsABadCommand) {
    fs::create_directories(m_dir / "empty-bin");
    const ScopedEnv path("PATH", (m_dir / "empty-bin").string());
    const Outcome outcome = run("ARJ", {"x", "GAME"});
    EXPECT_NE(outcome.errorlevel, 0);
    EXPECT_EQ(outcome.errors,
              std::vector<std::string>{"Bad command or file name - ARJ needs the arj program, which is not installed"});
}

} // namespace
} // namespace spindeck::shell::archive
