// Resolving a DOS path through large directories. A drive holds a chain of six directories, each
// among as many siblings as the benchmark says; the path is written in the wrong case (so every
// component takes the lookup without regard to case) or in 8.3 aliases. Once the directories have
// been read, the cost per resolve should not depend on how many entries each directory holds:
// compare the /1000 and /10000 figures of one benchmark.

#include "platform/dosfs.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using spindeck::platform::DosFileSystem;
using spindeck::platform::Drive;
using spindeck::platform::DriveKind;
using spindeck::platform::DriveMap;

constexpr int kLevels = 6;

struct Chain {
    fs::path root;
    std::string wrongCasePath; // "C:\LEVEL 3 ENTRY 05000\..."
    std::string aliasPath;     // "C:\LEV~5001\..."
    std::unique_ptr<DosFileSystem> dos;
};

std::string entryName(int level, int index) {
    std::string number = std::to_string(index);
    number.insert(0, 5 - std::min<std::size_t>(5, number.size()), '0');
    return "Level " + std::to_string(level) + " entry " + number;
}

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

// Built once per size and kept for the whole run; removed at exit.
Chain& chainOf(int entries) {
    static std::map<int, std::unique_ptr<Chain>> chains;
    auto& chain = chains[entries];
    if (chain) {
        return *chain;
    }
    chain = std::make_unique<Chain>();
    std::string pattern = (fs::temp_directory_path() / "spindeck-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    chain->root = pattern;
    static const bool cleanUpAtExit = [] {
        return std::atexit([] {
                   std::error_code error;
                   for (auto& [size, built] : chains) {
                       fs::remove_all(built->root, error);
                   }
               }) == 0;
    }();
    (void)cleanUpAtExit;

    // Each level holds `entries` names sharing one basis, so aliases run up to ~N with N in the
    // thousands; the chain continues through the middle one.
    fs::path directory = chain->root;
    std::string wrongCase = "C:";
    for (int level = 1; level <= kLevels; ++level) {
        const int middle = entries / 2;
        for (int i = 0; i < entries; ++i) {
            const fs::path path = directory / entryName(level, i);
            if (i == middle) {
                fs::create_directory(path);
            } else {
                const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
                ::close(fd);
            }
        }
        directory /= entryName(level, middle);
        wrongCase += '\\';
        wrongCase += upper(entryName(level, middle));
    }
    chain->wrongCasePath = wrongCase;
    chain->dos = std::make_unique<DosFileSystem>(DriveMap({Drive{'C', chain->root, DriveKind::Fixed, {}}}), "C:\\");
    // A directory changed within the last seconds is read again at every lookup (its time stamp may
    // not show a change made in the same tick), so let the new directories settle first.
    std::this_thread::sleep_for(std::chrono::milliseconds(3100));
    chain->aliasPath = chain->dos->GetShortPathNameA(wrongCase).value_or("");
    return *chain;
}

void resolveChain(benchmark::State& state, bool byAlias) {
    Chain& chain = chainOf(static_cast<int>(state.range(0)));
    const std::string& path = byAlias ? chain.aliasPath : chain.wrongCasePath;
    if (path.empty() || !chain.dos->resolve(path)) {
        state.SkipWithError(("cannot resolve " + path).c_str());
        return;
    }
    state.SetLabel(path.substr(0, 40) + "...");
    for (auto _ : state) {
        auto host = chain.dos->resolve(path);
        benchmark::DoNotOptimize(host);
    }
}

void BM_ResolveWrongCase(benchmark::State& state) {
    resolveChain(state, false);
}
void BM_ResolveShortAlias(benchmark::State& state) {
    resolveChain(state, true);
}

// For comparison: the first lookup, which reads the six directories and makes their aliases. A new
// DosFileSystem each time starts with an empty index.
void BM_FirstResolveWrongCase(benchmark::State& state) {
    Chain& chain = chainOf(static_cast<int>(state.range(0)));
    const DriveMap map({Drive{'C', chain.root, DriveKind::Fixed, {}}});
    for (auto _ : state) {
        const DosFileSystem fresh(map, "C:\\");
        auto host = fresh.resolve(chain.wrongCasePath);
        benchmark::DoNotOptimize(host);
    }
}

BENCHMARK(BM_ResolveWrongCase)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ResolveShortAlias)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstResolveWrongCase)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
