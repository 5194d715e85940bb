// spindeck-cmd: runs a batch file, or one command line, through the command interpreter on the
// user's drive map. Output goes to standard output and error messages to standard error; keys are
// read one byte at a time from standard input. Exit status: 0 when every command succeeded, 1 when
// one failed, 2 when the batch file could not be read (or the command line was wrong).

#include "interpreter.h"
#include "tools.h"
#include "transcript.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSucceeded = 0;
constexpr int kFailed = 1;
constexpr int kUnreadable = 2;

// Standard input in single bytes as they come; a terminal is switched out of line mode for the read.
class StandardConsole final : public spindeck::shell::Console {
public:
    void write(std::string_view bytes) override { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }
    void writeError(std::string_view line) override {
        std::fflush(stdout); // keep the order of output and errors
        std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
        std::fflush(stderr);
    }
    std::optional<char> readByte(std::optional<std::chrono::seconds> timeout) override {
        std::fflush(stdout);
        if (m_endOfInput) {
            return std::nullopt;
        }
        RawTerminal raw;
        pollfd input{STDIN_FILENO, POLLIN, 0};
        const int waitMs = timeout ? static_cast<int>(timeout->count() * 1000) : -1;
        int ready = 0;
        do {
            ready = ::poll(&input, 1, waitMs);
        } while (ready < 0 && errno == EINTR);
        if (ready == 0) {
            return std::nullopt; // the time ran out
        }
        char byte = 0;
        ssize_t got = 0;
        do {
            got = ::read(STDIN_FILENO, &byte, 1);
        } while (got < 0 && errno == EINTR);
        if (got != 1) {
            m_endOfInput = true;
            return std::nullopt;
        }
        return byte;
    }
    void flush() override { std::fflush(stdout); }

private:
    class RawTerminal {
    public:
        RawTerminal() {
            if (::isatty(STDIN_FILENO) == 1 && ::tcgetattr(STDIN_FILENO, &m_saved) == 0) {
                termios raw = m_saved;
                raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
                raw.c_cc[VMIN] = 1;
                raw.c_cc[VTIME] = 0;
                m_active = ::tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
            }
        }
        ~RawTerminal() {
            if (m_active) {
                ::tcsetattr(STDIN_FILENO, TCSANOW, &m_saved);
            }
        }
        RawTerminal(const RawTerminal&) = delete;
        RawTerminal& operator=(const RawTerminal&) = delete;

    private:
        termios m_saved{};
        bool m_active = false;
    };

    bool m_endOfInput = false;
};

int usage() {
    std::fputs("usage: spindeck-cmd [--cd X:\\DIR]... BATCH [ARGS...]\n"
               "       spindeck-cmd [--cd X:\\DIR]... /C LINE\n",
               stderr);
    return kUnreadable;
}

int exitStatus(spindeck::shell::RunResult result) {
    switch (result) {
    case spindeck::shell::RunResult::Succeeded:
        return kSucceeded;
    case spindeck::shell::RunResult::Failed:
        return kFailed;
    case spindeck::shell::RunResult::Unreadable:
        break;
    }
    return kUnreadable;
}

} // namespace

int main(int argc, char** argv) {
    namespace platform = spindeck::platform;
    namespace shell = spindeck::shell;
    // Line by line, so that a long command's progress (XCOPY's file names) shows as it comes.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::vector<std::string> directories;
    std::size_t next = 0;
    while (next + 1 < args.size() && args[next] == "--cd") {
        directories.push_back(args[next + 1]);
        next += 2;
    }
    if (next >= args.size() || args[next] == "--cd") {
        return usage();
    }
    const bool oneLine = args[next] == "/C" || args[next] == "/c";
    if (oneLine && next + 1 >= args.size()) {
        return usage();
    }

    auto loaded = platform::loadDriveMap();
    if (loaded.problem) {
        std::fprintf(stderr, "spindeck-cmd: %s\n", loaded.problem->c_str());
    }
    platform::DriveMap map(std::move(loaded.drives));
    const std::string start = platform::programDirectory(map).value_or("C:\\");
    platform::DosFileSystem files(std::move(map), start);
    for (const auto& directory : directories) {
        auto changed = files.changeDirectory(directory);
        if (changed) {
            changed = files.setCurrentDrive(files.fullPath(directory)->front());
        }
        if (!changed) {
            std::fprintf(stderr, "spindeck-cmd: --cd %s: %s\n", directory.c_str(),
                         shell::dosMessage(changed.error()).c_str());
            return kFailed;
        }
    }

    StandardConsole standard;
    std::string problem;
    const auto transcript = shell::TranscriptConsole::open(standard, shell::transcriptDirectory(),
                                                           std::chrono::system_clock::now(), problem);
    if (!transcript) {
        std::fprintf(stderr, "spindeck-cmd: %s\n", problem.c_str());
    }
    shell::Console& console = transcript ? static_cast<shell::Console&>(*transcript) : standard;
    shell::Interpreter interpreter(files, console);
    for (auto& tool : shell::standardTools()) {
        interpreter.addTool(std::move(tool));
    }

    shell::RunResult result = shell::RunResult::Succeeded;
    if (oneLine) {
        std::string line;
        for (std::size_t i = next + 1; i < args.size(); ++i) {
            line += (line.empty() ? "" : " ") + args[i];
        }
        result = interpreter.runLine(line);
    } else {
        result = interpreter.runBatch(args[next],
                                      std::vector<std::string>(args.begin() + static_cast<long>(next) + 1, args.end()));
    }
    console.flush();
    return exitStatus(result);
}
