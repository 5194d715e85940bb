// Unpacking a 100 MB zip with folders: PKUNZIP -d through the drive map against the Info-ZIP
// unzip program on the same archive in the same run (goal: at most 1.2 times its time). The
// archive holds 20 files of 5 MB of word-like text, so that inflating does real work, in four
// folders. Each iteration unpacks into an empty folder; removing it is not timed.

#include "shell/archive/archivecommands.h"

#include <archive.h>
#include <archive_entry.h>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
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

constexpr int kFiles = 20;
constexpr std::size_t kFileSize = 5U << 20;

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

// The archive, made once per run in a folder that is removed at exit.
struct Workspace {
    fs::path root;
    fs::path zip;

    Workspace() {
        std::string pattern = (fs::temp_directory_path() / "spindeck-unzip-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        root = pattern;
        zip = root / "BENCH.ZIP";
        struct archive* writer = archive_write_new();
        archive_write_set_format_zip(writer);
        archive_write_open_filename(writer, zip.c_str());
        for (int i = 0; i < kFiles; ++i) {
            const std::string content = wordText(static_cast<std::uint32_t>(i), kFileSize);
            const std::string name = "DIR" + std::to_string(i % 4) + "/FILE" + std::to_string(i) + ".DAT";
            struct archive_entry* entry = archive_entry_new();
            archive_entry_set_pathname(entry, name.c_str());
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_perm(entry, 0644);
            archive_entry_set_size(entry, static_cast<la_int64_t>(content.size()));
            archive_write_header(writer, entry);
            archive_write_data(writer, content.data(), content.size());
            archive_entry_free(entry);
        }
        archive_write_close(writer);
        archive_write_free(writer);
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

void BM_PkunzipKeepingFolders(benchmark::State& state) {
    Workspace& space = workspace();
    const fs::path target = space.root / "OUT";
    DosFileSystem dos(DriveMap({Drive{'C', space.root, DriveKind::Fixed, {}}}), "C:\\");
    const spindeck::shell::archive::ArchiveOutput quiet{[](std::string_view) {}, [](std::string_view) {}};
    for (auto _ : state) {
        state.PauseTiming();
        emptyTarget(target);
        state.ResumeTiming();
        if (spindeck::shell::archive::runArchiveCommand("PKUNZIP", {"-d", "-o", "C:\\BENCH.ZIP", "C:\\OUT\\"}, dos,
                                                        quiet) != 0) {
            state.SkipWithError("PKUNZIP failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kFiles * kFileSize));
}

void BM_InfoZipUnzip(benchmark::State& state) {
    Workspace& space = workspace();
    const fs::path target = space.root / "OUT";
    const std::vector<std::string> args{"unzip", "-q", "-o", space.zip.string(), "-d", target.string()};
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
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kFiles * kFileSize));
}

BENCHMARK(BM_PkunzipKeepingFolders)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);
BENCHMARK(BM_InfoZipUnzip)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);

} // namespace
