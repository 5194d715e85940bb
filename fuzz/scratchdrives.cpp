#include "scratchdrives.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

namespace spindeck::fuzz {
namespace {

namespace fs = std::filesystem;

void touch(const fs::path& path) {
    std::ofstream(path) << "x";
}

void makeDriveC(const fs::path& c) {
    fs::create_directories(c / "GAMES" / "DEMO");
    fs::create_directories(c / "Program Files" / "My Game");
    fs::create_directories(c / "Program Files (x86)");
    fs::create_directories(c / "games.old");
    touch(c / "Long File Name.txt");
    touch(c / "readme.txt");
    touch(c / "README.TXT");
    touch(c / "GAMES" / "DEMO" / "SETUP.EXE");
    fs::create_directory_symlink("/", c / "escape");
    fs::create_directory_symlink(".", c / "GAMES" / "self");
}

} // namespace

ScratchDrives::ScratchDrives() {
    std::string pattern = (fs::temp_directory_path() / "spindeck-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    m_root = fs::canonical(pattern);
    makeDriveC(m_root / "c");
    fs::create_directories(m_root / "d" / "SETUP");
    touch(m_root / "d" / "SETUP" / "INSTALL.EXE");
}

ScratchDrives::~ScratchDrives() {
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
}

platform::DriveMap ScratchDrives::driveMap() const {
    return platform::DriveMap({platform::Drive{'C', m_root / "c", platform::DriveKind::Fixed, "FUZZ"},
                               platform::Drive{'D', m_root / "d", platform::DriveKind::CdRom, "DISC"},
                               platform::Drive{'E', m_root / "missing", platform::DriveKind::Removable, ""}});
}

bool ScratchDrives::onADrive(const fs::path& hostPath) const {
    std::error_code error;
    const fs::path real = fs::weakly_canonical(hostPath, error);
    if (error) {
        return false;
    }
    for (const char* drive : {"c", "d", "missing"}) {
        const fs::path relative = real.lexically_relative(m_root / drive);
        if (!relative.empty() && *relative.begin() != "..") {
            return true;
        }
    }
    return false;
}

ScratchDrives& scratchDrives() {
    static ScratchDrives instance;
    return instance;
}

platform::DosFileSystem& fileSystemOnC() {
    static platform::DosFileSystem instance(scratchDrives().driveMap(), "C:\\");
    (void)instance.setCurrentDrive('C');
    (void)instance.changeDirectory("C:\\");
    return instance;
}

} // namespace spindeck::fuzz
