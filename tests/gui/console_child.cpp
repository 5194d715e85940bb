// A stand-in for the command interpreter in the console window's tests. It takes the
// interpreter's command line ("--cd X:\DIR" pairs, the batch file, its parameters) and acts out
// the parameters in order:
//   out TEXT    TEXT and CR LF on standard output
//   err TEXT    TEXT and CR LF on standard error
//   bytes HEX   raw bytes on standard output ("C9CDBB")
//   read        reads one byte from standard input, then prints "got N" (N its code, -1 at the end)
//   args        prints every argument it was given, joined by "|"
//   spawn       starts a process of its own that waits for a signal, and prints "spawned PID"
//   exit N      exits with status N
//   crash       dies of a signal
// Output is written unbuffered, as the interpreter flushes after every command.

#include <csignal>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

void writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written <= 0) {
            std::exit(3);
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

void writeLine(int fd, std::string_view text) {
    writeAll(fd, text);
    writeAll(fd, "\r\n");
}

std::string fromHex(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    }
    return bytes;
}

std::string readOneByte() {
    unsigned char byte = 0;
    return ::read(STDIN_FILENO, &byte, 1) == 1 ? std::to_string(byte) : "-1";
}

std::string allArguments(int argc, char** argv) {
    std::string joined;
    for (int i = 1; i < argc; ++i) {
        joined += (i > 1 ? "|" : "") + std::string(argv[i]);
    }
    return joined;
}

} // namespace

int main(int argc, char** argv) {
    int i = 1;
    while (i + 1 < argc && std::string_view(argv[i]) == "--cd") {
        i += 2;
    }
    ++i; // the batch file
    for (; i < argc; ++i) {
        const std::string_view action = argv[i];
        const char* operand = i + 1 < argc ? argv[i + 1] : "";
        if (action == "out") {
            writeLine(STDOUT_FILENO, operand);
            ++i;
        } else if (action == "err") {
            writeLine(STDERR_FILENO, operand);
            ++i;
        } else if (action == "bytes") {
            writeAll(STDOUT_FILENO, fromHex(operand));
            ++i;
        } else if (action == "read") {
            writeLine(STDOUT_FILENO, "got " + readOneByte());
        } else if (action == "spawn") {
            const pid_t pid = ::fork();
            if (pid == 0) {
                ::pause();
                std::_Exit(0);
            }
            writeLine(STDOUT_FILENO, "spawned " + std::to_string(pid));
        } else if (action == "args") {
            writeLine(STDOUT_FILENO, allArguments(argc, argv));
        } else if (action == "crash") {
            ::raise(SIGKILL);
        } else if (action == "exit") {
            return std::atoi(operand);
        }
    }
    return 0;
}
