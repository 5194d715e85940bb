#include "errorlevels.h"
#include "readers.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ; // NOLINT(readability-redundant-declaration)

namespace spindeck::shell::archive {
namespace {

namespace fs = std::filesystem;

// The private directory the arj program unpacks into, removed with everything in it.
class PrivateDirectory {
public:
    PrivateDirectory() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = (fs::path(base != nullptr && *base != '\0' ? base : "/tmp") / "spindeck-arj-XXXXXX");
        if (::mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~PrivateDirectory() {
        if (!m_path.empty()) {
            std::error_code error;
            fs::remove_all(m_path, error);
        }
    }
    PrivateDirectory(const PrivateDirectory&) = delete;
    PrivateDirectory& operator=(const PrivateDirectory&) = delete;

    [[nodiscard]] const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// The arj program's exit status in words; its own messages name host paths, so they are not shown.
std::string arjFailure(int status) {
    switch (status) {
    case 3:
        return "CRC error";
    case 5:
        return "disk full in the temporary directory";
    case 6:
        return "cannot open the archive";
    case 9:
        return "not an ARJ archive";
    default:
        return "arj stopped with status " + std::to_string(status);
    }
}

// Runs the program with the argument vector (no shell) and its input from /dev/null, handing each
// line of its output to `onLine` as it comes; the exit status, or -1 when it could not be started
// or was killed.
int runProgram(const std::vector<std::string>& argv, const std::function<void(std::string_view)>& onLine) {
    std::array<int, 2> pipeEnds{};
    if (::pipe2(pipeEnds.data(), O_CLOEXEC) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 2);
    std::vector<char*> pointers;
    pointers.reserve(argv.size() + 1);
    for (const std::string& arg : argv) {
        pointers.push_back(const_cast<char*>(arg.c_str())); // NOLINT(cppcoreguidelines-pro-type-const-cast)
    }
    pointers.push_back(nullptr);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, argv[0].c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (spawned != 0) {
        ::close(pipeEnds[0]);
        return -1;
    }
    std::array<char, 4096> buffer{};
    std::string pending;
    for (;;) {
        const ssize_t got = ::read(pipeEnds[0], buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        pending.append(buffer.data(), static_cast<std::size_t>(got));
        std::size_t lineEnd = 0;
        while ((lineEnd = pending.find('\n')) != std::string::npos) {
            onLine(std::string_view(pending).substr(0, lineEnd));
            pending.erase(0, lineEnd + 1);
        }
    }
    if (!pending.empty()) {
        onLine(pending);
    }
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::optional<CopyFailure> copyFile(const fs::path& from, int fd) {
    const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0) {
        return CopyFailure{true, 0, "cannot read the unpacked file"};
    }
    std::vector<char> buffer(1 << 18);
    std::optional<CopyFailure> failure;
    for (;;) {
        const ssize_t got = ::read(source, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            failure = CopyFailure{true, 0, "cannot read the unpacked file"};
        } else if (got > 0) {
            if (const int error = writeAll(fd, buffer.data(), static_cast<std::size_t>(got)); error != 0) {
                failure = CopyFailure{false, error, {}};
            }
        }
        if (got <= 0 || failure) {
            break;
        }
    }
    ::close(source);
    return failure;
}

EntryKind kindOf(const struct stat& info) {
    if (S_ISREG(info.st_mode)) {
        return EntryKind::File;
    }
    if (S_ISDIR(info.st_mode)) {
        return EntryKind::Directory;
    }
    return S_ISLNK(info.st_mode) ? EntryKind::Link : EntryKind::Other;
}

// What the program unpacked, in name order so that a folder comes before what it holds.
std::vector<fs::path> unpackedPaths(const fs::path& directory) {
    std::vector<fs::path> paths;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(directory, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        paths.push_back(it->path().lexically_relative(directory));
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

} // namespace

std::optional<fs::path> findArjProgram() {
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view directory = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        if (directory.empty()) {
            continue;
        }
        fs::path candidate = fs::path(directory) / "arj";
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

void extractWithArj(const fs::path& arjProgram, const fs::path& hostArchive, std::string_view dosArchive,
                    Extraction& extraction) {
    const std::string archiveText(dosArchive);
    PrivateDirectory unpacked;
    if (unpacked.path().empty()) {
        extraction.archiveFailed(errorlevel::kDiskFull, "Cannot make a temporary folder for " + archiveText);
        return;
    }
    // "--" ends the switches, so no name is read as one; -y answers the program's own questions.
    // The program's lines "Extracting NAME  to DIR/NAME  ...OK" give the progress while it works;
    // its other lines name host paths and are not shown.
    const std::string_view lead = "Extracting ";
    const std::string marker = " to " + unpacked.path().string() + "/";
    const auto showProgress = [&](std::string_view line) {
        const std::size_t end = line.find(marker);
        if (!line.starts_with(lead) || end == std::string_view::npos) {
            return;
        }
        std::string_view name = line.substr(lead.size(), end - lead.size());
        name = name.substr(0, name.find_last_not_of(' ') + 1);
        extraction.print("  Unpacking: " + entryNameText(name));
    };
    const int status = runProgram(
        {arjProgram.string(), "x", "-y", "--", hostArchive.string(), unpacked.path().string() + "/"}, showProgress);
    if (status != 0) {
        const std::string reason = status < 0 ? "the arj program could not be run" : arjFailure(status);
        extraction.archiveFailed(errorlevel::kDamaged, "Damaged archive - " + archiveText + ": " + reason);
        return;
    }
    for (const fs::path& relative : unpackedPaths(unpacked.path())) {
        const fs::path host = unpacked.path() / relative;
        struct stat info {};
        if (::lstat(host.c_str(), &info) != 0) {
            continue;
        }
        const ArchiveEntry entry{relative.string(), kindOf(info), info.st_mtime};
        if (!extraction.place(entry, [&](int fd) { return copyFile(host, fd); })) {
            return;
        }
    }
}

} // namespace spindeck::shell::archive
