// The command interpreter against the host's own tools, in one run: XCOPY /S of a tree of 5,000
// small files against `cp -r` of the same tree (goal: at most 1.5 times as long), and a batch file
// of 10,000 ECHO and SET lines against /bin/sh running the same lines (goal: under 0.5 s). Each
// figure is the best of five runs; the ratios are printed at the end.

#include "shell/interpreter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kDirectories = 50;
constexpr int kFilesPerDirectory = 100;
constexpr int kBatchLines = 10000;
constexpr int kRuns = 5;

class SilentConsole final : public spindeck::shell::Console {
public:
    void write(std::string_view) override {}
    void writeError(std::string_view line) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
    }
    std::optional<char> readByte(std::optional<std::chrono::seconds>) override { return std::nullopt; }
};

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

double secondsOf(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void runHost(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
}

} // namespace

int main() {
    std::string pattern = (fs::temp_directory_path() / "spindeck-shell-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        return 1;
    }
    const fs::path root = pattern;
    const fs::path drive = root / "c";
    const std::string small(200, 'x');
    for (int d = 0; d < kDirectories; ++d) {
        const fs::path directory = drive / "SRC" / ("DIR" + std::to_string(d));
        fs::create_directories(directory);
        for (int f = 0; f < kFilesPerDirectory; ++f) {
            writeFile(directory / ("FILE" + std::to_string(f) + ".DAT"), small);
        }
    }

    spindeck::platform::DosFileSystem files(
        spindeck::platform::DriveMap({spindeck::platform::Drive{'C', drive, spindeck::platform::DriveKind::Fixed, ""}}),
        "C:\\");
    SilentConsole console;
    spindeck::shell::Interpreter shell(files, console);

    // Runs alternate between the two tools and write to new folders, removed only at the end: the
    // file system slows down the creation of files right after many were deleted.
    double cp = 1e9;
    double xcopy = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        const std::string n = std::to_string(run);
        cp = std::min(cp, secondsOf([&] {
                          runHost({"cp", "-r", (drive / "SRC").string(), (root / ("cp-out" + n)).string()});
                      }));
        xcopy = std::min(xcopy, secondsOf([&] {
                             if (shell.runLine("XCOPY C:\\SRC C:\\OUT" + n + " /S /I /Y") !=
                                 spindeck::shell::RunResult::Succeeded) {
                                 std::exit(1);
                             }
                         }));
    }

    std::string batch = "@echo off\r\n";
    std::string script;
    for (int i = 0; i < kBatchLines / 2; ++i) {
        const std::string n = std::to_string(i % 10);
        batch +=
            "set V" + n + "=value " + std::to_string(i) + "\r\necho line " + std::to_string(i) + " %V" + n + "%\r\n";
        script += "V" + n + "='value " + std::to_string(i) + "'\necho line " + std::to_string(i) + " $V" + n + "\n";
    }
    writeFile(drive / "BIG.BAT", batch);
    writeFile(root / "big.sh", script);
    double interpreter = 1e9;
    double sh = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        interpreter = std::min(interpreter, secondsOf([&] { (void)shell.runBatch("C:\\BIG.BAT", {}); }));
        sh = std::min(sh, secondsOf([&] {
                          runHost({"sh", "-c", "sh " + (root / "big.sh").string() + " > /dev/null"});
                      }));
    }
    fs::remove_all(root);

    std::printf("XCOPY /S of %d files: %.1f ms; cp -r: %.1f ms; ratio %.2f (goal at most 1.5)\n",
                kDirectories * kFilesPerDirectory, xcopy * 1000, cp * 1000, xcopy / cp);
    std::printf("batch file of %d ECHO and SET lines: %.1f ms (goal under 500 ms); /bin/sh: %.1f ms; ratio %.2f\n",
                kBatchLines, interpreter * 1000, sh * 1000, interpreter / sh);
    return 0;
}
