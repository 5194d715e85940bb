#pragma once

// A throw-away drive map for interpreter tests: C: a fixed drive and D: a CD-ROM in a scratch
// directory, a folder beside them that no drive maps, and a console that records what the
// interpreter wrote and hands it the keys a test typed in advance. PATH is the scratch folder's
// "bin", so that a DOSBox on the machine is never started; a test may put a stand-in there.

#include "shell/interpreter.h"
#include "shell/tools.h"
#include "support/scratch.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace spindeck::shell::testing {

using platform::testing_support::readText;
using platform::testing_support::ScratchDir;
using platform::testing_support::writeText;

class RecordingConsole final : public Console {
public:
    void write(std::string_view bytes) override { out += bytes; }
    void writeError(std::string_view line) override {
        err += line;
        err += '\n';
    }
    std::optional<char> readByte(std::optional<std::chrono::seconds>) override {
        if (keys.empty()) {
            return std::nullopt;
        }
        const char key = keys.front();
        keys.erase(0, 1);
        return key;
    }
    void commandStarted(std::string_view line) override { commands.emplace_back(line); }

    std::string out;
    std::string err;
    std::string keys;
    std::vector<std::string> commands;
};

class ShellTest : public ::testing::Test {
protected:
    ShellTest() {
        std::filesystem::create_directories(c);
        std::filesystem::create_directories(d);
        std::filesystem::create_directories(outside);
        files = std::make_unique<platform::DosFileSystem>(
            platform::DriveMap({platform::Drive{'C', c, platform::DriveKind::Fixed, "SCRATCH"},
                                platform::Drive{'D', d, platform::DriveKind::CdRom, "DISC"}}),
            "C:\\");
        shell = std::make_unique<Interpreter>(*files, console);
        for (auto& tool : standardTools()) {
            shell->addTool(std::move(tool));
        }
    }

    RunResult run(std::string_view line) { return shell->runLine(line); }
    // Writes a batch file on C: and runs it.
    RunResult runBatch(std::string_view text, const std::vector<std::string>& parameters = {}) {
        writeText(c / "TEST.BAT", text);
        return shell->runBatch("C:\\TEST.BAT", parameters);
    }

    ScratchDir scratch;
    platform::testing_support::ScopedEnv hostPath{"PATH", (scratch / "bin").string()};
    std::filesystem::path c = scratch / "c";
    std::filesystem::path d = scratch / "d";
    std::filesystem::path outside = scratch / "outside";
    std::unique_ptr<platform::DosFileSystem> files;
    RecordingConsole console;
    std::unique_ptr<Interpreter> shell;
};

} // namespace spindeck::shell::testing
