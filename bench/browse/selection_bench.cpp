// Selecting a directory in the main window: one with a 40 KB FILE_ID.DIZ and a 20 MB QRV.TXT
// without install header, against reading the same bytes with a plain read loop; and one with
// typical description files of a few KB.

#include "browse/directoryselection.h"
#include "support/fakes.h"
#include "support/scratch.h"

#include <QApplication>
#include <array>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

using namespace spindeck;
using platform::testing_support::ScratchDir;
using platform::testing_support::writeText;

std::string descriptionOf(std::size_t bytes) {
    std::string text;
    while (text.size() < bytes) {
        text += "A line of description, as long as the ones real discs carry.\r\n";
    }
    return text;
}

std::string dizArt(std::size_t bytes) {
    std::string text;
    while (text.size() < bytes) {
        text += "\xBA \xDB\xDB\xB2\xB2\xB1\xB1\xB0\xB0 \x01 art \xC9\xCD\xCD\xBB \xBA\r\n";
    }
    return text;
}

// A main window over a disc D: with the two directories, and a directory selection ready to run.
struct Bench {
    Bench() : cues(log, 0), music(log), shell(log), toolkit(log) {
        writeText(disc / "d" / "BIG" / "FILE_ID.DIZ", dizArt(40 * 1024));
        writeText(disc / "d" / "BIG" / "QRV.TXT", descriptionOf(20 * 1024 * 1024));
        writeText(disc / "d" / "TYPICAL" / "FILE_ID.DIZ", dizArt(1500));
        writeText(disc / "d" / "TYPICAL" / "QRV.TXT", descriptionOf(3000) + "[INSTALL Typical]\r\nMD <PATH>\r\n");
        files = std::make_unique<platform::DosFileSystem>(
            platform::DriveMap({platform::Drive{'D', disc / "d", platform::DriveKind::Fixed, ""}}), "D:\\");
        services = std::make_unique<ui::Services>(ui::Services{*files, cues, music, shell, toolkit, settings, "D:\\"});
        main = std::make_unique<ui::MainDesign>(*files);
        selection = std::make_unique<browse::DirectorySelection>(*main, *services, [](const QString&) {});
    }

    void open(const char* dosPath) { (void)main->dirListBox->setPath(dosPath); }

    ScratchDir disc;
    fakes::CallLog log;
    fakes::FakeCuePlayer cues;
    fakes::FakeMusicControl music;
    fakes::FakeBatchRunner shell;
    fakes::FakeToolkit toolkit;
    config::SharedSettings settings;
    std::unique_ptr<platform::DosFileSystem> files;
    std::unique_ptr<ui::Services> services;
    std::unique_ptr<ui::MainDesign> main;
    std::unique_ptr<browse::DirectorySelection> selection;
};

Bench& bench() {
    static Bench instance;
    return instance;
}

void SelectLargeFiles(benchmark::State& state) {
    bench().open("D:\\BIG");
    for (auto _ : state) {
        bench().selection->select();
    }
}
BENCHMARK(SelectLargeFiles)->Unit(benchmark::kMillisecond);

std::size_t readAll(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY);
    std::array<char, 65536> buffer{};
    std::size_t total = 0;
    for (ssize_t n = 0; (n = ::read(fd, buffer.data(), buffer.size())) > 0;) {
        total += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return total;
}

void ReferenceReadLoop(benchmark::State& state) {
    const auto& disc = bench().disc;
    for (auto _ : state) {
        benchmark::DoNotOptimize(readAll(disc / "d" / "BIG" / "FILE_ID.DIZ") + readAll(disc / "d" / "BIG" / "QRV.TXT"));
    }
}
BENCHMARK(ReferenceReadLoop)->Unit(benchmark::kMillisecond);

void SelectTypicalFiles(benchmark::State& state) {
    bench().open("D:\\TYPICAL");
    for (auto _ : state) {
        bench().selection->select();
    }
}
BENCHMARK(SelectTypicalFiles)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
