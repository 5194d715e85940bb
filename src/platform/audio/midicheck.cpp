#include "midicheck.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <string_view>

namespace spindeck::platform::audio {

namespace {

std::uint32_t bigEndian(const char* bytes, int size) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
        value = value << 8U | static_cast<std::uint8_t>(bytes[i]);
    }
    return value;
}

} // namespace

std::optional<std::string> midiOutlineProblem(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return "cannot be read";
    }
    in.seekg(0, std::ios::end);
    const auto fileSize = static_cast<std::uint64_t>(in.tellg());
    in.seekg(0);

    std::array<char, 14> header{};
    if (!in.read(header.data(), header.size()) || std::string_view(header.data(), 4) != "MThd") {
        return "not a MIDI file";
    }
    const std::uint32_t headerLength = bigEndian(&header[4], 4);
    const std::uint32_t format = bigEndian(&header[8], 2);
    const std::uint32_t tracks = bigEndian(&header[10], 2);
    const std::uint32_t division = bigEndian(&header[12], 2);
    if (headerLength < 6 || 8ULL + headerLength > fileSize) {
        return "broken MIDI header";
    }
    if (format > 1) {
        return "MIDI files of format " + std::to_string(format) + " cannot be played";
    }
    if ((division & 0x8000U) != 0 || division == 0) {
        return "MIDI timing in frames cannot be played";
    }
    if (tracks == 0) {
        return "no tracks";
    }

    std::uint64_t at = 8ULL + headerLength;
    std::uint32_t found = 0;
    while (found < tracks) {
        std::array<char, 8> chunk{};
        in.seekg(static_cast<std::streamoff>(at));
        if (at + chunk.size() > fileSize || !in.read(chunk.data(), chunk.size())) {
            return "cut short: " + std::to_string(found) + " of " + std::to_string(tracks) + " tracks";
        }
        const std::uint64_t length = bigEndian(&chunk[4], 4);
        at += chunk.size() + length;
        if (at > fileSize) {
            return "cut short in track " + std::to_string(found + 1);
        }
        if (std::string_view(chunk.data(), 4) == "MTrk") {
            ++found;
        }
    }
    return std::nullopt;
}

} // namespace spindeck::platform::audio
