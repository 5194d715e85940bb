// What a screen reader's requests cost on a description box holding a 20 MB QRV.TXT: a line, a
// range and the character count, against decoding the whole text, which is what an answer built
// from the whole text would cost on every request.

#include "ui/oemtextbox.h"

#include <QAccessible>
#include <QApplication>
#include <benchmark/benchmark.h>
#include <string>

namespace {

using spindeck::ui::OemTextBox;

constexpr std::size_t kFileSize = 20 * 1024 * 1024;

// Lines of 78 characters and CR LF, box art among the words.
std::string largeFile() {
    const std::string line =
        "\xB3 Install notes: copy the files, then run SETUP.EXE from the new folder. \xB3\xB0\xB1\r\n";
    std::string bytes;
    bytes.reserve(kFileSize + line.size());
    while (bytes.size() < kFileSize) {
        bytes += line;
    }
    return bytes;
}

// Made in main, so that it goes before the application does.
OemTextBox* gBox = nullptr;

OemTextBox& box() {
    return *gBox;
}

QAccessibleTextInterface& text() {
    return *QAccessible::queryAccessibleInterface(&box())->textInterface();
}

void BoundaryInTheMiddle(benchmark::State& state, QAccessible::TextBoundaryType boundary) {
    const int middle = text().characterCount() / 2;
    for (auto _ : state) {
        int start = 0;
        int end = 0;
        benchmark::DoNotOptimize(text().textAtOffset(middle, boundary, &start, &end));
    }
}
BENCHMARK_CAPTURE(BoundaryInTheMiddle, line, QAccessible::LineBoundary)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BoundaryInTheMiddle, word, QAccessible::WordBoundary)->Unit(benchmark::kMicrosecond);

void ScreenfulInTheMiddle(benchmark::State& state) {
    const int middle = text().characterCount() / 2;
    for (auto _ : state) {
        benchmark::DoNotOptimize(text().text(middle, middle + 2000));
    }
}
BENCHMARK(ScreenfulInTheMiddle)->Unit(benchmark::kMicrosecond);

void CharacterCount(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(text().characterCount());
    }
}
BENCHMARK(CharacterCount)->Unit(benchmark::kMicrosecond);

// The reference: the whole text decoded once.
void WholeText(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(box().toPlainText());
    }
}
BENCHMARK(WholeText)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    OemTextBox shown;
    shown.resize(400, 200);
    shown.setOemText(largeFile());
    gBox = &shown;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
