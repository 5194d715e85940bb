// Real install batch files (the corpus beside the repository, found through SPINDECK_CORPUS): every
// one parses, and those whose commands the interpreter has run to their end on a throw-away drive
// map with the files they expect, leaving the files where the script puts them. A script that ends
// by starting a DOS program fails at that line (no DOSBox in the tests); the rows say so.
//
// Not run, because their work is done by DOS programs that are not there: B3 (SBSIM, SBMIDI, WW2),
// B6 (FORMAT, PART), B8 (WELCOME, DONE, NOWAY decide the flow), B9 (EVMOVE, INSTALL1), B11
// (MAKEPATH, then a batch file it builds), B12 (DEICE, WOLFSRC), B16 (LHA on disk swaps and
// SETSOUND), B18 (UNARJ on an ARJ archive), B19 (DUP), B20 (DEARJ, MDIR, VESA_X), B21 (WHAT,
// MAKEPATH, BOOTDISK), B26 (WHATNEW, PKXARC), B27 (MENUS, TPC, ARJ), B30 (ARJ). B7 and B17 need the
// archive commands and run once they are built.

#include "shell/commandline.h"
#include "shell_fixture.h"
#include "support/storedzip.h"

#include <algorithm>

namespace spindeck::shell::testing {
namespace {

namespace fs = std::filesystem;
using platform::testing_support::RowLabel;

fs::path corpus() {
    return fs::path(SPINDECK_CORPUS);
}

std::vector<fs::path> batchFiles() {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(corpus(), error)) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(), ::toupper);
        if (extension == ".BAT") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(Corpus, EveryBatchFileParses) {
    const auto files = batchFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no corpus at " << corpus();
    }
    EXPECT_EQ(files.size(), 30U);
    const VariableLookup noVariables = [](std::string_view) { return std::optional<std::string>(); };
    for (const auto& file : files) {
        const auto lines = splitBatchLines(readText(file));
        ASSERT_TRUE(lines.has_value()) << file << ": line " << lines.error().line << " " << lines.error().reason;
        for (std::size_t i = 0; i < lines->size(); ++i) {
            const std::string expanded = expandPercents((*lines)[i], {"INSTALL", "C:", "D:", "install"}, noVariables);
            EXPECT_TRUE(splitPipeline(expanded).has_value()) << file.filename() << ":" << i + 1 << ": " << expanded;
        }
    }
}

struct CorpusRun {
    std::string label;              // the corpus number
    std::string file;               // in the corpus folder
    std::string directory;          // where the script lies and starts, a DOS path on C: or D:
    std::vector<std::string> files; // what the disc holds beside it ("X.ZIP" becomes a zip of X.DAT)
    std::vector<std::string> parameters;
    std::string keys;
    RunResult result;
    std::vector<std::string> expected;             // host paths below the scratch folder afterwards
    std::string why = {};                          // why the run fails where it does
    std::pair<std::string, std::string> text = {}; // a file afterwards and text it holds
};

class CorpusRuns : public ShellTest, public ::testing::WithParamInterface<CorpusRun> {};

fs::path hostOf(const fs::path& scratch, std::string_view dosPath) {
    fs::path host = scratch / std::string(1, static_cast<char>(std::tolower(dosPath[0])));
    std::string rest(dosPath.substr(3));
    std::replace(rest.begin(), rest.end(), '\\', '/');
    return rest.empty() ? host : host / rest;
}

TEST_P(CorpusRuns, RunToTheirEnd) {
    const CorpusRun& row = GetParam();
    const fs::path source = corpus() / row.file;
    if (!fs::exists(source)) {
        GTEST_SKIP() << "no corpus at " << corpus();
    }
    const fs::path home = hostOf(scratch.path(), row.directory);
    const std::string name = source.filename().string().substr(source.filename().string().rfind("__") + 2);
    writeText(home / name, readText(source));
    for (const auto& file : row.files) {
        const fs::path path = home / fs::path(file);
        if (file.ends_with(".ZIP")) {
            const std::string member = path.stem().string() + ".DAT";
            writeText(path, spindeck::testing::storedZip({{member, "from " + file}}));
        } else {
            writeText(path, "contents of " + file);
        }
    }
    ASSERT_EQ(run("cd " + row.directory), RunResult::Succeeded);
    ASSERT_EQ(run(row.directory.substr(0, 2)), RunResult::Succeeded);
    console.keys = row.keys;
    const std::string batch = (row.directory.ends_with('\\') ? row.directory : row.directory + "\\") + name;
    EXPECT_EQ(shell->runBatch(batch, row.parameters), row.result) << console.err;
    if (row.result == RunResult::Failed) {
        EXPECT_NE(console.err.find(row.why), std::string::npos) << console.err;
    }
    for (const auto& expected : row.expected) {
        EXPECT_TRUE(fs::exists(scratch / expected)) << expected << "\n" << console.err;
    }
    if (!row.text.first.empty()) {
        EXPECT_NE(readText(scratch / row.text.first).find(row.text.second), std::string::npos)
            << readText(scratch / row.text.first);
    }
}

const std::string kDosProgram = "(DOS programs need DOSBox";

INSTANTIATE_TEST_SUITE_P(
    Shell, CorpusRuns,
    ::testing::Values(
        CorpusRun{"B1_xcopy_from_a_bare_drive",
                  "64kramsystem__dungeons_of_discovery_cd__INSTALL.BAT",
                  "D:\\",
                  {"DUNGEON.EXE", "DATA/LEVEL.DAT"},
                  {"D", "C"},
                  "",
                  RunResult::Succeeded,
                  {"c/DUNGEON/DUNGEON.EXE", "c/DUNGEON/DATA/LEVEL.DAT"}},
        CorpusRun{"B2_copy_then_drive_switch",
                  "Hutsell-Games__civil-war-strategy__INSTALL.BAT",
                  "D:\\CWS",
                  {"CWS.EXE", "CWS.DAT"},
                  {"C:"},
                  "",
                  RunResult::Succeeded,
                  {"c/CWSTRAT/CWS.EXE", "c/CWSTRAT/CWS.DAT"}},
        CorpusRun{"B4_choice_and_nul_test",
                  "LaPingvino__The-Puzzle-Pits__INSTALL.BAT",
                  "D:\\PITS",
                  {"PITS.EXE", "PITS.DAT", "PITS.FNT", "BOING.WAV", "LEVELS/L1.LVL"},
                  {"C:"},
                  "y",
                  RunResult::Succeeded,
                  {"c/pits/PITS.EXE", "c/pits/BOING.WAV", "c/pits/levels/L1.LVL"}},
        // Starts its own SIM_SCAN.EXE at the end: a DOS program.
        // Starts the self-extracting GAME10.EXE: a DOS program.
        CorpusRun{"B5_copy_to_a_bare_drive",
                  "PerryDigitalOx__Assim8DOS__INSTALL.BAT",
                  "D:\\ASSIM",
                  {"GAME10.EXE"},
                  {"C:"},
                  "",
                  RunResult::Failed,
                  {"c/assimil8"},
                  kDosProgram},
        // Starts the installed DEMO.EXE: a DOS program.
        CorpusRun{"B10_nul_test_and_drive_switch",
                  "EricOakford__SCI01-Template__INSTALL.BAT",
                  "D:\\QG2",
                  {"DEMO.EXE", "QG2DEMO.BAT", "EXISTS.COM"},
                  {"C:"},
                  "",
                  RunResult::Failed,
                  {"c/sierra/QG2demo/DEMO.EXE", "c/sierra/QG2DEMO.BAT", "c/sierra/EXISTS.COM"},
                  kDosProgram},
        CorpusRun{"B13_minimal_install",
                  "rapbando__SIM-SCAN-v2.00__INSTALL.BAT",
                  "D:\\SIMSCAN",
                  {"SIM_SCAN.EXE", "SIM_SCAN.DOC"},
                  {},
                  "",
                  RunResult::Failed,
                  {"c/sim_scan/SIM_SCAN.DOC"},
                  kDosProgram},
        CorpusRun{"B14_xcopy_and_errorlevel",
                  "flynnsbit__ExoFlynn_scripts__games__SURVIVAL__Surviv95__INSTALL.BAT",
                  "D:\\SURVIVAL",
                  {"SURVIVAL.EXE", "SURV.DAT"},
                  {"C:"},
                  "",
                  RunResult::Succeeded,
                  {"c/SURVIVAL/SURVIVAL.EXE", "c/SURVIVAL/SURV.DAT"}},
        CorpusRun{"B15_choice_per_drive",
                  "flynnsbit__ExoFlynn_scripts__games__DUKESCRE__duke38d__DUKE__INSTALL.BAT",
                  "D:\\DUKE",
                  {"DUKE3D.EXE", "MAPS/E1L1.MAP"},
                  {},
                  "1",
                  RunResult::Succeeded,
                  {"c/DUKE/DUKE3D.EXE", "c/DUKE/MAPS/E1L1.MAP"}},
        CorpusRun{"B22_choice_and_xcopy",
                  "flynnsbit__DOS_Shareware_MyMenu__GAMES__Cannon_Fodder__INSTALL.BAT",
                  "D:\\CANNON",
                  {"CANNON.EXE", "DATA/MAP.DAT"},
                  {},
                  "c",
                  RunResult::Succeeded,
                  {"c/CANNON/CANNON.EXE", "c/CANNON/DATA/MAP.DAT"}},
        // Ends by starting SETUP.EXE: a DOS program.
        CorpusRun{"B23_copy_then_setup",
                  "flynnsbit__DOS_Shareware_MyMenu__GAMES__Earthworm_Jim__Install.bat",
                  "D:\\EWJ",
                  {"SETUP.EXE", "EWJ.DAT"},
                  {},
                  "",
                  RunResult::Failed,
                  {"c/ewj/EWJ.DAT"},
                  kDosProgram},
        CorpusRun{"B24_tab_indented",
                  "flynnsbit__DOS_Shareware_MyMenu__GAMES__Apache_Combat_Heli__INSTALL.BAT",
                  "D:\\APACHE",
                  {"APACHE.EXE", "DATA/X.DAT"},
                  {},
                  "",
                  RunResult::Succeeded,
                  {"c/apchdemo/APACHE.EXE", "c/apchdemo/DATA/X.DAT"}},
        CorpusRun{"B25_source_only_copies",
                  "flynnsbit__DOS_Shareware_MyMenu__GAMES__IndyCar_Racing_II__INST1.BAT",
                  "D:\\",
                  {"icr2/cars/cars95/A.CAR", "icr2/effects/E.DAT", "icr2/objs/O.DAT", "icr2/rol/R.DAT",
                   "icr2/sound/S.DAT", "icr2/tracks/laguna/L.DAT", "icr2/tracks/michigan/M.DAT", "icr2/uvconfig.exe",
                   "icr2/hmiA.386", "icr2/indycar.exe", "icr2/setup.exe", "icr2/setup.cfg", "icr2/modems.cfg",
                   "icr2/mip.cfg", "icr2/calendar", "icr2/readme.txt", "icr2/main.dat"},
                  {"D:", "C:", "install"},
                  "",
                  RunResult::Succeeded,
                  {"c/cars/cars95/A.CAR", "c/tracks/michigan/M.DAT", "c/hmiA.386", "c/calendar", "c/main.dat"}},
        CorpusRun{"B28_redirection_before_arguments",
                  "arkdevil__softpanorama__sp54__nc-analo__vertunov__install.bat",
                  "D:\\PCS",
                  {"PCS.EXE", "PCS.HLP", "CALC.EXE", "PCS.MNU", "PCS.EXT", "PCS.VIW", "README", "MENU.TXT", "EXT.TXT"},
                  {"C:", "\\PCS"},
                  "",
                  RunResult::Succeeded,
                  {"c/PCS/CALC.EXE", "c/PCS/README", "c/PCS/menu/PCS.MNU"}},
        // Joins CONFIG.SYS with a line it wrote (names keep the case the script writes), then starts
        // CERBERUS.EXE: a DOS program.
        CorpusRun{"B29_concatenation_and_glued_switch",
                  "arkdevil__softpanorama__sp2a__antivir.90__plus__serber__system__install.bat",
                  "C:\\",
                  {"CONFIG.SYS", "CERBERUS.EXE", "CERBDRV.SYS"},
                  {"C:", "\\CERB"},
                  "",
                  RunResult::Failed,
                  {"c/config.old", "c/CERB/CERBERUS.EXE", "c/CERB/CERBDRV.SYS"},
                  kDosProgram,
                  {"c/config.sys", "contents of CONFIG.SYSDevice = C:\\CERB\\CerbDrv.Sys \r\n\x1a"}},
        // Starts CONFIG.EXE at the end: a DOS program.
        CorpusRun{"B7_pkunzip_target_before_option",
                  "tlorens__shockwavebbs__INSTALL.BAT",
                  "C:\\BBS",
                  {"DATA.ZIP", "MENUDATA.ZIP", "ANSIMENU.ZIP", "SHCKDOC.ZIP", "SHKPRO10.ZIP"},
                  {},
                  "",
                  RunResult::Failed,
                  {"c/BBS/data/DATA.DAT", "c/BBS/menus/ANSIMENU.DAT", "c/BBS/docs/SHCKDOC.DAT"},
                  "Bad command or file name - config"},
        CorpusRun{"B17_pkunzip_in_subdirectories",
                  "flynnsbit__ExoFlynn_scripts__games__THEPIT19__ThePit__PIT4__INSTALL.BAT",
                  "C:\\PIT",
                  {"PIT417E.ZIP", "CONFIG.ZIP", "GAME.ZIP", "PIT417G.ZIP"},
                  {},
                  "",
                  RunResult::Succeeded,
                  {"c/PIT/PIT417E.DAT", "c/PIT/CONFIG/CONFIG.DAT", "c/PIT/GAME/GAME.DAT", "c/PIT/PIT417G.DAT"},
                  ""}),
    RowLabel{});

} // namespace
} // namespace spindeck::shell::testing
