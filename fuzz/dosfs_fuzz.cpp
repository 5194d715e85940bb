// DOS path text and its resolution through a throw-away drive map: nothing resolves to a place off
// the drives, a short form leads back to the same file, and the short names of one directory keep
// every valid 8.3 name and give every other name an alias of its own.

#include "platform/dospath.h"
#include "platform/shortname.h"
#include "scratchdrives.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

namespace {

using namespace spindeck;
using namespace spindeck::platform;

void check(bool condition, const char* what, std::string_view path) {
    if (!condition) {
        std::fprintf(stderr, "%s: \"%.*s\"\n", what, static_cast<int>(path.size()), path.data());
        std::abort();
    }
}

void resolvePath(DosFileSystem& files, const std::string& path) {
    (void)files.fullPath(path);
    const auto found = files.resolve(path);
    check(!found || fuzz::scratchDrives().onADrive(*found), "resolved off the drives", path);
    // The place written is the last component in its folder: the folder must be on a drive (the last
    // component may be a link that leads off it, which a write replaces), or it is a drive's root.
    const auto forWrite = files.resolveForWrite(path);
    check(!forWrite || fuzz::scratchDrives().onADrive(*forWrite) ||
              fuzz::scratchDrives().onADrive(forWrite->parent_path()),
          "resolved for writing off the drives", path);
    if (const auto shortForm = files.GetShortPathNameA(path)) {
        const auto again = files.resolve(*shortForm);
        check(found && again && std::filesystem::equivalent(*found, *again), "short form leads elsewhere", path);
    }
    (void)files.listDirectory(path);
    (void)files.findName(path, "readme.txt");
    (void)files.GetDriveTypeA(path);
}

void parsePath(const std::string& path) {
    const auto parsed = dospath::parse(path);
    if (!parsed) {
        return;
    }
    std::vector<std::string> directory = {"GAMES"};
    dospath::apply(directory, parsed->components);
    (void)dospath::join(parsed->drive == 0 ? 'C' : parsed->drive, directory);
}

void nameSiblings(FuzzedDataProvider& input) {
    std::vector<std::string> names;
    while (input.remaining_bytes() > 0 && names.size() < 16) {
        names.push_back(input.ConsumeRandomLengthString(20));
    }
    const std::vector<std::string> shortened = shortNames(names);
    check(shortened.size() == names.size(), "short names lost", "");
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (isShortName(names[i])) {
            check(shortened[i] == names[i], "valid 8.3 name changed", names[i]);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::DosFileSystem& files = fuzz::fileSystemOnC();
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool()) {
        nameSiblings(input);
        return 0;
    }
    const std::string first = input.ConsumeRandomLengthString(64);
    const std::string second = input.ConsumeRemainingBytesAsString();
    parsePath(first);
    if (files.changeDirectory(first)) {
        resolvePath(files, second);
    } else {
        resolvePath(files, first);
        (void)files.setCurrentDrive(second.empty() ? 'C' : second.front());
        resolvePath(files, second);
    }
    return 0;
}
