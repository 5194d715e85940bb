#include "dosbox.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace spindeck::shell {

namespace fs = std::filesystem;

namespace {

// DOSBox keeps Z: for its own drive, and a quote would end the mount command's path.
bool canMount(const platform::Drive& drive) {
    return drive.letter != 'Z' && drive.root.string().find('"') == std::string::npos;
}

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "spindeck-dosbox-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~TemporaryFolder() {
        std::error_code error;
        if (!m_path.empty()) {
            fs::remove_all(m_path, error);
        }
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    [[nodiscard]] const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

} // namespace

std::optional<fs::path> findDosbox() {
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string_view directory = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
        if (directory.empty()) {
            continue;
        }
        const fs::path candidate = fs::path(directory) / "dosbox";
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::vector<std::string> dosboxArguments(const platform::DosFileSystem& files, const fs::path& configFile,
                                         const std::string& commandLine) {
    std::vector<std::string> arguments{"-conf", configFile.string()};
    for (const auto& drive : files.driveMap().drives()) {
        if (!canMount(drive) || !files.driveMap().isReady(drive.letter)) {
            continue;
        }
        std::string mount = std::string("mount ") + drive.letter + " \"" + drive.root.string() + "\"";
        if (drive.kind == platform::DriveKind::CdRom) {
            mount += " -t cdrom";
        }
        arguments.insert(arguments.end(), {"-c", mount});
    }
    const char current = files.currentDrive();
    arguments.insert(arguments.end(),
                     {"-c", std::string(1, current) + ":", "-c", "cd " + files.currentDirectory(current).substr(2),
                      "-c", commandLine, "-c", "exit"});
    return arguments;
}

DosboxRun runDosbox(const fs::path& dosbox, const platform::DosFileSystem& files, const std::string& commandLine) {
    const TemporaryFolder folder;
    if (folder.path().empty()) {
        return {0, std::string("no temporary folder: ") + std::strerror(errno)};
    }
    const fs::path config = folder.path() / "dosbox.conf";
    std::ofstream(config) << "[sdl]\nfullscreen=false\n[dosbox]\nmachine=svga_s3\n[autoexec]\n";

    std::vector<std::string> arguments{dosbox.string()};
    for (auto& argument : dosboxArguments(files, config, commandLine)) {
        arguments.push_back(std::move(argument));
    }
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.path().c_str());
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, dosbox.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return {0, std::strerror(spawned)};
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, {}};
}

} // namespace spindeck::shell
