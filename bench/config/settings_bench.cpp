// The start-up's settings pass on the default file: the pass as the program runs it (one read of
// the file, every key looked up and converted) against the reference of one file read per lookup,
// two lookups for every key with a value.

#include "config/defaultfile.h"
#include "config/inifile.h"
#include "config/keytable.h"
#include "config/settings.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>

namespace {

using namespace spindeck::config;

std::filesystem::path defaultFileOnDisk() {
    static const std::filesystem::path path = [] {
        auto file = std::filesystem::temp_directory_path() / "spindeck-bench-QRV.INI";
        std::ofstream(file, std::ios::binary) << defaultFileBytes();
        return file;
    }();
    return path;
}

void SettingsPass(benchmark::State& state) {
    const auto path = defaultFileOnDisk();
    for (auto _ : state) {
        const auto ini = IniDocument::load(path);
        benchmark::DoNotOptimize(settingsPass(*ini, "D:\\"));
    }
}
BENCHMARK(SettingsPass)->Unit(benchmark::kMicrosecond);

void ReferenceFileReadPerLookup(benchmark::State& state) {
    const auto path = defaultFileOnDisk();
    for (auto _ : state) {
        for (const KeyRow& row : keyTable()) {
            if (row.group == KeyGroup::Splash) {
                continue;
            }
            if (!GetIniValue(path, row.key).empty()) {
                benchmark::DoNotOptimize(GetIniValue(path, row.key));
            }
        }
    }
}
BENCHMARK(ReferenceFileReadPerLookup)->Unit(benchmark::kMicrosecond);

} // namespace
