// Unpacking zips with PKUNZIP -d through the drive map against the Info-ZIP unzip program on the
// same archive in the same run (goal: at most 1.2 times its time). The large archive holds 20 files
// of 5 MB of word-like text in four folders, so that inflating does real work; the other holds 5,000
// files of 1 KB in one folder, where the cost per file shows (it must not grow with the number of
// files already unpacked). Each iteration unpacks into an empty folder; removing it is not timed.

#include "shell/archive/archivecommands.h"

#include <archive.h>
#include <archive_entry.h>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ; // NOLINT(readability-redundant-declaration)

namespace {

namespace fs = std::filesystem;
using spindeck::platform::DosFileSystem;
using spindeck::platform::Drive;
using spindeck::platform::DriveKind;
using spindeck::platform::DriveMap;

constexpr int kLargeFiles = 20;
constexpr std::size_t kLargeFileSize = 5U << 20;
constexpr int kSmallFiles = 5000;
constexpr std::size_t kSmallFileSize = 1024;

// Text of short words from a fixed generator: compresses to about a third, like program data.
std::string wordText(std::uint32_t seed, std::size_t size) {
    static const std::vector<std::string> kWords{"level ",    "sprite ", "sound ", "the ",  "player ",
                                                 "score\r\n", "map ",    "tile ",  "door ", "key ",
                                                 "enemy ",    "0x1F ",   "data "};
    std::string text;
    text.reserve(size + 16);
    std::uint32_t state = seed;
    while (text.size() < size) {
        state = state * 1664525U + 1013904223U;
        text += kWords[(state >> 16) % kWords.size()];
    }
    text.resize(size);
    return text;
}

struct Member {
    std::string name;
    std::string content;
};

void writeZip(const fs::path& file, int count, const std::function<Member(int)>& member) {
    struct archive* writer = archive_write_new();
    archive_write_set_format_zip(writer);
    archive_write_open_filename(writer, file.c_str());
    for (int i = 0; i < count; ++i) {
        const Member made = member(i);
        struct archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, made.name.c_str());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, static_cast<la_int64_t>(made.content.size()));
        archive_write_header(writer, entry);
        archive_write_data(writer, made.content.data(), made.content.size());
        archive_entry_free(entry);
    }
    archive_write_close(writer);
    archive_write_free(writer);
}

// The archives, made once per run in a folder that is removed at exit.
struct Workspace {
    fs::path root;

    Workspace() {
        std::string pattern = (fs::temp_directory_path() / "spindeck-unzip-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        root = pattern;
        writeZip(root / "LARGE.ZIP", kLargeFiles, [](int i) {
            return Member{"DIR" + std::to_string(i % 4) + "/FILE" + std::to_string(i) + ".DAT",
                          wordText(static_cast<std::uint32_t>(i), kLargeFileSize)};
        });
        writeZip(root / "SMALL.ZIP", kSmallFiles, [](int i) {
            return Member{"FILES/F" + std::to_string(i) + ".TXT",
                          wordText(static_cast<std::uint32_t>(i), kSmallFileSize)};
        });
    }
    ~Workspace() {
        std::error_code error;
        fs::remove_all(root, error);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;
};

Workspace& workspace() {
    static Workspace instance;
    return instance;
}

void emptyTarget(const fs::path& target) {
    fs::remove_all(target);
    fs::create_directories(target);
}

std::int64_t bytesIn(const std::string& zip) {
    return zip == "LARGE.ZIP" ? static_cast<std::int64_t>(kLargeFiles * kLargeFileSize)
                              : static_cast<std::int64_t>(kSmallFiles * kSmallFileSize);
}

void BM_PkunzipKeepingFolders(benchmark::State& state, const std::string& zip) {
    Workspace& space = workspace();
    const fs::path target = space.root / "OUT";
    DosFileSystem dos(DriveMap({Drive{'C', space.root, DriveKind::Fixed, {}}}), "C:\\");
    const spindeck::shell::archive::ArchiveOutput quiet{[](std::string_view) {}, [](std::string_view) {}};
    for (auto _ : state) {
        state.PauseTiming();
        emptyTarget(target);
        state.ResumeTiming();
        if (spindeck::shell::archive::runArchiveCommand("PKUNZIP", {"-d", "-o", "C:\\" + zip, "C:\\OUT\\"}, dos,
                                                        quiet) != 0) {
            state.SkipWithError("PKUNZIP failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * bytesIn(zip));
}

void BM_InfoZipUnzip(benchmark::State& state, const std::string& zip) {
    Workspace& space = workspace();
    const fs::path target = space.root / "OUT";
    const std::vector<std::string> args{"unzip", "-q", "-o", (space.root / zip).string(), "-d", target.string()};
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str())); // NOLINT(cppcoreguidelines-pro-type-const-cast)
    }
    argv.push_back(nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        emptyTarget(target);
        state.ResumeTiming();
        pid_t child = 0;
        int status = 0;
        if (::posix_spawnp(&child, "unzip", nullptr, nullptr, argv.data(), environ) != 0 ||
            ::waitpid(child, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("unzip failed or is not installed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * bytesIn(zip));
}

BENCHMARK_CAPTURE(BM_PkunzipKeepingFolders, large, std::string("LARGE.ZIP"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(6);
BENCHMARK_CAPTURE(BM_InfoZipUnzip, large, std::string("LARGE.ZIP"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(6);
BENCHMARK_CAPTURE(BM_PkunzipKeepingFolders, small_files, std::string("SMALL.ZIP"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(6);
BENCHMARK_CAPTURE(BM_InfoZipUnzip, small_files, std::string("SMALL.ZIP"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(6);

} // namespace
