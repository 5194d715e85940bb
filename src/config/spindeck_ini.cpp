// spindeck-ini: the configuration file from the command line.
//   spindeck-ini get FILE KEY   prints what the program's lookup gives for KEY, then a newline
//   spindeck-ini default        writes the default QRV.INI to standard output
//   spindeck-ini lint FILE      reports keys that read the wrong line, values that cannot be
//                               converted and media files that are missing; exit 1 when it did

#include "config/defaultfile.h"
#include "config/inifile.h"
#include "config/lint.h"
#include "platform/dosfs.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using spindeck::config::IniDocument;

constexpr int kFindings = 1;
constexpr int kFailure = 2;

int usage() {
    std::cerr << "usage: spindeck-ini get FILE KEY\n"
                 "       spindeck-ini default\n"
                 "       spindeck-ini lint FILE\n";
    return kFailure;
}

void writeBytes(std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

int cannotRead(const spindeck::config::IniReadError& error) {
    std::cerr << "spindeck-ini: cannot read " << error.path.string() << ": " << error.reason << '\n';
    return kFailure;
}

int get(const std::string& file, const std::string& key) {
    const auto ini = IniDocument::load(file);
    if (!ini) {
        return cannotRead(ini.error());
    }
    writeBytes(ini->lookup(key).value.value_or(std::string(spindeck::config::kNoUsableLine)));
    writeBytes("\n");
    return 0;
}

// Media files are found as the program finds them: through a drive whose root is the file's
// directory, so case and short names match as they do on the disc.
spindeck::config::MediaExists mediaBeside(const std::filesystem::path& file) {
    namespace platform = spindeck::platform;
    auto directory = std::filesystem::absolute(file).parent_path();
    auto files = std::make_shared<platform::DosFileSystem>(
        platform::DriveMap({platform::Drive{'C', directory, platform::DriveKind::Fixed, ""}}), "C:\\");
    return [files](std::string_view relative) { return files->resolve("C:\\" + std::string(relative)).has_value(); };
}

int lint(const std::string& file) {
    const auto ini = IniDocument::load(file);
    if (!ini) {
        return cannotRead(ini.error());
    }
    const auto findings = spindeck::config::lintIni(*ini, mediaBeside(file));
    for (const auto& finding : findings) {
        std::cout << file << ':' << finding.line << ": " << finding.message << '\n';
    }
    return findings.empty() ? 0 : kFindings;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "get") {
        return get(args[1], args[2]);
    }
    if (args.size() == 1 && args[0] == "default") {
        writeBytes(spindeck::config::defaultFileBytes());
        return 0;
    }
    if (args.size() == 2 && args[0] == "lint") {
        return lint(args[1]);
    }
    return usage();
}
