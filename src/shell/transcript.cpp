#include "transcript.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace spindeck::shell {

namespace fs = std::filesystem;

fs::path transcriptDirectory() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && state[0] == '/') {
        return fs::path(state) / "spindeck";
    }
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr ? home : "/") / ".local" / "state" / "spindeck";
}

std::string transcriptFileName(std::chrono::system_clock::time_point start) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(start);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "cmd-%Y%m%d-%H%M%S", &local);
    return std::string(text) + ".log";
}

std::unique_ptr<TranscriptConsole> TranscriptConsole::open(Console& inner, const fs::path& directory,
                                                           std::chrono::system_clock::time_point start,
                                                           std::string& problem) {
    std::error_code error;
    fs::create_directories(directory, error);
    const std::string name = transcriptFileName(start);
    // Two runs in one second get "-2", "-3", ... rather than sharing a file.
    for (int attempt = 1; attempt < 100; ++attempt) {
        const fs::path path =
            directory /
            (attempt == 1 ? name : name.substr(0, name.size() - 4) + "-" + std::to_string(attempt) + ".log");
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            return std::unique_ptr<TranscriptConsole>(new TranscriptConsole(inner, ::fdopen(fd, "w"), path));
        }
        if (errno != EEXIST) {
            problem = "cannot write the transcript " + path.string() + ": " + std::strerror(errno);
            return nullptr;
        }
    }
    problem = "cannot find a free transcript name in " + directory.string();
    return nullptr;
}

TranscriptConsole::TranscriptConsole(Console& inner, std::FILE* file, fs::path path)
    : m_inner(inner), m_file(file), m_path(std::move(path)) {}

TranscriptConsole::~TranscriptConsole() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

void TranscriptConsole::write(std::string_view bytes) {
    m_inner.write(bytes);
    std::fwrite(bytes.data(), 1, bytes.size(), m_file);
}

void TranscriptConsole::writeError(std::string_view line) {
    m_inner.writeError(line);
    std::fprintf(m_file, "! %.*s\n", static_cast<int>(line.size()), line.data());
}

std::optional<char> TranscriptConsole::readByte(std::optional<std::chrono::seconds> timeout) {
    return m_inner.readByte(timeout);
}

void TranscriptConsole::commandStarted(std::string_view line) {
    m_inner.commandStarted(line);
    std::fprintf(m_file, "> %.*s\n", static_cast<int>(line.size()), line.data());
}

void TranscriptConsole::flush() {
    m_inner.flush();
    std::fflush(m_file);
}

} // namespace spindeck::shell
