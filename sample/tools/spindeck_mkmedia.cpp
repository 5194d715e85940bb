// spindeck-mkmedia: writes the demo disc's cue sounds, music and logo from our own designs.

#include "mkmedia/designs.h"
#include "mkmedia/wav.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace spindeck::mkmedia;

constexpr int kMaxSide = 4096;

int usage(const std::string& problem) {
    std::string kinds;
    for (const auto kind : cueKinds()) {
        kinds += (kinds.empty() ? "" : ", ") + std::string(kind);
    }
    std::fprintf(stderr,
                 "spindeck-mkmedia: %s\n"
                 "usage: spindeck-mkmedia wav KIND OUT.wav      (KIND: %s)\n"
                 "       spindeck-mkmedia midi OUT.mid\n"
                 "       spindeck-mkmedia midi-short OUT.mid\n"
                 "       spindeck-mkmedia bmp OUT.bmp WIDTH HEIGHT  (1 to %d pixels each)\n"
                 "       spindeck-mkmedia icon OUT.png SIDE         (1 to %d pixels)\n",
                 problem.c_str(), kinds.c_str(), kMaxSide, kMaxSide);
    return 2;
}

std::optional<int> side(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > kMaxSide) {
        return std::nullopt;
    }
    return value;
}

// Written beside the target and renamed over it, so a failed run leaves no half-written file.
int writeFile(const fs::path& target, const std::string& bytes) {
    fs::path temporary = target;
    temporary += ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.close();
        }
        if (!out) {
            const int error = errno;
            std::error_code ignored;
            fs::remove(temporary, ignored);
            std::fprintf(stderr, "spindeck-mkmedia: cannot write %s: %s\n", target.c_str(),
                         error != 0 ? std::strerror(error) : "write failed");
            return 1;
        }
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        std::fprintf(stderr, "spindeck-mkmedia: cannot write %s: %s\n", target.c_str(), error.message().c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        return usage("nothing to make");
    }
    const std::string& what = args[0];
    if (what == "wav") {
        if (args.size() != 3) {
            return usage("wav takes a kind and a file name");
        }
        const auto tones = cueTones(args[1]);
        if (!tones) {
            return usage("no cue called '" + args[1] + "'");
        }
        return writeFile(args[2], wavFile(renderTones(*tones, kCueSampleRate), kCueSampleRate));
    }
    if (what == "midi" || what == "midi-short") {
        if (args.size() != 2) {
            return usage(what + " takes a file name");
        }
        return writeFile(args[1], what == "midi" ? demoSong() : shortSong());
    }
    if (what == "bmp") {
        if (args.size() != 4) {
            return usage("bmp takes a file name, a width and a height");
        }
        const auto width = side(args[2]);
        const auto height = side(args[3]);
        if (!width || !height) {
            return usage("width and height must be whole numbers from 1 to " + std::to_string(kMaxSide));
        }
        return writeFile(args[1], bmpFile(logo(*width, *height)));
    }
    if (what == "icon") {
        if (args.size() != 3) {
            return usage("icon takes a file name and a side");
        }
        const auto length = side(args[2]);
        if (!length) {
            return usage("the side must be a whole number from 1 to " + std::to_string(kMaxSide));
        }
        return writeFile(args[1], pngFile(icon(*length)));
    }
    return usage("unknown media '" + what + "'");
}
