#include "../unit/config/lookup_cases.h"
#include "run_tool.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using spindeck::testing::runTool;

class SpindeckIniTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::path(::testing::TempDir()) /
                ("spindeck-ini-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path write(const std::string& name, std::string_view bytes) {
        const auto path = m_dir / name;
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    fs::path m_dir;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST_F(SpindeckIniTest, GetPrintsExactlyWhatTheLookupGives) {
    for (const auto& c : spindeck::config::testing::kLookupCases) {
        const auto file = write("QRV.INI", c.file);
        const auto run = runTool(SPINDECK_INI, {"get", file.string(), std::string(c.key)});
        EXPECT_EQ(run.exitCode, 0) << c.name;
        EXPECT_EQ(run.out, std::string(c.expected) + "\n") << c.name;
    }
}

TEST_F(SpindeckIniTest, DefaultWritesTheDefaultFileByteForByte) {
    const auto run = runTool(SPINDECK_INI, {"default"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, readFile(fs::path(SPINDECK_FIXTURES) / "config" / "default-QRV.INI"));
}

TEST_F(SpindeckIniTest, LintPassesTheDefaultFileWithItsPictureInAnyCase) {
    const auto ini = write("QRV.INI", runTool(SPINDECK_INI, {"default"}).out);
    write("qrv.bmp", "BM");
    const auto run = runTool(SPINDECK_INI, {"lint", ini.string()});
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.exitCode, 0);
}

TEST_F(SpindeckIniTest, LintNamesTheLineALongerKeyCaptures) {
    const auto ini = write("QRV.INI", "[DRIVEBOX]\r\nidrFont=Arial;\r\ndrFont=;\r\n");
    const auto run = runTool(SPINDECK_INI, {"lint", ini.string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, ini.string() + ":2: drFont reads line 2, which is the setting of idrFont: idrFont=Arial;\n");
}

TEST_F(SpindeckIniTest, ReportsAnUnreadableFileAndBadUsage) {
    const auto missing = (m_dir / "NOPE.INI").string();
    for (const auto& args : {std::vector<std::string>{"get", missing, "tCaption"}, {"lint", missing}}) {
        const auto run = runTool(SPINDECK_INI, args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "spindeck-ini: cannot read " + missing + ": No such file or directory\n");
    }
    const auto run = runTool(SPINDECK_INI, {"frobnicate"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("usage: spindeck-ini get FILE KEY"), std::string::npos);
}

} // namespace
