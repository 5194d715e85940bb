// Tag substitution on any install path and script line, on a throw-away drive map; the GOTO tags
// move the current directory, which must stay on a drive.

#include "scratchdrives.h"
#include "script/substitutetags.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace {

using namespace spindeck;

// Install paths as the install window makes them, and a few it should never make.
constexpr std::array<std::string_view, 8> kInstallPaths = {
    "C:\\GAMES\\DEMO\\",
    "C:\\Program Files\\My Game\\",
    "C:\\",
    "D:\\SETUP\\",
    "E:\\GAMES\\",
    "C:\\NEW FOLDER\\",
    "c:\\games\\",
    "C:\\escape\\etc\\",
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::DosFileSystem& files = fuzz::fileSystemOnC();
    FuzzedDataProvider input(data, size);
    const std::string installPath =
        input.ConsumeBool() ? std::string(input.PickValueInArray(kInstallPaths)) : input.ConsumeRandomLengthString(64);
    const std::string line = input.ConsumeRemainingBytesAsString();

    (void)script::SubstituteTags(line, installPath, files);
    const char drive = files.currentDrive();
    if (files.driveMap().drive(drive) == nullptr) {
        std::abort();
    }
    const auto current = files.resolve(files.currentDirectory(drive));
    if (current && !fuzz::scratchDrives().onADrive(*current)) {
        std::abort();
    }
    return 0;
}
