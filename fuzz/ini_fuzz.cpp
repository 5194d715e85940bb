// QRV.INI from any bytes: the lookup of a key taken from the input, straight from the file and from
// the document, every conversion of the value found, the settings pass applied to the shared
// settings, and the lint.

#include "config/conversions.h"
#include "config/inifile.h"
#include "config/lint.h"
#include "config/settings.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <unistd.h>

namespace {

using namespace spindeck::config;

// One file, rewritten for every input, so that GetIniValue reads what the document holds.
const std::filesystem::path& iniFile() {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("spindeck-fuzz-" + std::to_string(::getpid()) + ".ini");
    return path;
}

void removeIniFile() {
    std::error_code ignored;
    std::filesystem::remove(iniFile(), ignored);
}

void convertEveryWay(const std::string& value) {
    const auto strict = strictNumber(value);
    const double lenient = lenientNumber(value);
    // A value that is a number as a whole has that number as its leading part.
    if (strict && !std::isnan(*strict) && *strict != lenient) {
        std::abort();
    }
    if (const auto integer = toInteger(lenient)) {
        (void)colourOf(*integer);
    }
    if (strict) {
        (void)toInteger(*strict);
    }
    (void)toBoolean(value);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit(removeIniFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string key = input.ConsumeRandomLengthString(24);
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    const IniDocument ini = IniDocument::fromBytes(bytes);
    const IniLookup found = ini.lookup(key);
    std::ofstream(iniFile(), std::ios::binary | std::ios::trunc) << bytes;
    if (GetIniValue(iniFile(), key) != found.value.value_or(std::string(kNoUsableLine))) {
        std::abort();
    }
    if (found.value) {
        convertEveryWay(*found.value);
    }

    SharedSettings shared;
    for (const SettingAction& action : settingsPass(ini, "D:\\SPINDECK")) {
        applyToSharedSettings(action, shared);
    }
    (void)lintIni(ini, [](std::string_view name) { return name.size() % 2 == 0; });
    return 0;
}
