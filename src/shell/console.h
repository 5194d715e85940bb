#pragma once

// What the interpreter talks to: the screen (standard output and error lines), the keyboard (one
// byte at a time, for PAUSE, CHOICE and the questions of DEL, DELTREE and XCOPY), and a note of
// every command it runs (for the transcript).

#include <chrono>
#include <optional>
#include <string_view>

namespace spindeck::shell {

class Console {
public:
    Console() = default;
    virtual ~Console() = default;
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // Standard output: bytes as DOS writes them, line ends as LF.
    virtual void write(std::string_view bytes) = 0;
    // One error message line, without its line end.
    virtual void writeError(std::string_view line) = 0;
    // The next byte typed; nullopt at the end of input, or when `timeout` passes without a key.
    virtual std::optional<char> readByte(std::optional<std::chrono::seconds> timeout) = 0;
    // Called with each command line before it runs (after %-expansion), whether echo is on or not.
    virtual void commandStarted(std::string_view /*line*/) {}
    // Called after each command, so that what it wrote is seen at once.
    virtual void flush() {}
};

} // namespace spindeck::shell
