#pragma once

// The transcript of a run: every command line, what it wrote and every error, kept in a log file
// under the user's state directory ($XDG_STATE_HOME/spindeck/, else ~/.local/state/spindeck/), one
// file per run named by the date and time it started.

#include "console.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace spindeck::shell {

[[nodiscard]] std::filesystem::path transcriptDirectory();
// "cmd-20261211-144145.log" for a run started at that (local) time.
[[nodiscard]] std::string transcriptFileName(std::chrono::system_clock::time_point start);

// A console that passes everything on to another and writes it to a transcript file as well.
class TranscriptConsole final : public Console {
public:
    // Creates a new file in `directory` (made when missing); nullptr and the reason when it cannot.
    static std::unique_ptr<TranscriptConsole> open(Console& inner, const std::filesystem::path& directory,
                                                   std::chrono::system_clock::time_point start, std::string& problem);
    ~TranscriptConsole() override;

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

    void write(std::string_view bytes) override;
    void writeError(std::string_view line) override;
    std::optional<char> readByte(std::optional<std::chrono::seconds> timeout) override;
    void commandStarted(std::string_view line) override;
    void flush() override;

private:
    TranscriptConsole(Console& inner, std::FILE* file, std::filesystem::path path);

    Console& m_inner;
    std::FILE* m_file;
    std::filesystem::path m_path;
};

} // namespace spindeck::shell
