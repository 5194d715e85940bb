#pragma once

// Runs one of our command-line tools as a person would, without a shell, and keeps what it wrote.

#include <array>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace spindeck::testing {

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string drain(int fd) {
    std::string bytes;
    std::array<char, 4096> buffer{};
    ssize_t n = 0;
    while ((n = ::read(fd, buffer.data(), buffer.size())) > 0) {
        bytes.append(buffer.data(), static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

// Standard error goes to a file so that neither pipe can fill while the other is read. With `input`
// standard input reads those bytes (from a file), otherwise it is the test's own.
inline ToolRun runTool(const std::string& program, const std::vector<std::string>& args,
                       const std::optional<std::string>& input = std::nullopt) {
    std::vector<char*> argv;
    std::vector<std::string> storage{program};
    storage.insert(storage.end(), args.begin(), args.end());
    for (auto& arg : storage) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    std::array<int, 2> outPipe{};
    if (::pipe(outPipe.data()) != 0) {
        return {};
    }
    char errName[] = "/tmp/spindeck-tool-stderr-XXXXXX";
    const int errFd = ::mkstemp(errName);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errFd, STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    char inName[] = "/tmp/spindeck-tool-stdin-XXXXXX";
    if (input) {
        const int inFd = ::mkstemp(inName);
        if (inFd >= 0) {
            (void)!::write(inFd, input->data(), input->size());
            ::close(inFd);
        }
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, inName, O_RDONLY, 0);
    }
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(outPipe[1]);
    ToolRun run;
    run.out = drain(outPipe[0]);
    if (spawned == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ::lseek(errFd, 0, SEEK_SET);
    run.err = drain(errFd);
    ::unlink(errName);
    if (input) {
        ::unlink(inName);
    }
    return run;
}

} // namespace spindeck::testing
