#include "chime.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace spindeck::platform::audio {

namespace {

struct Note {
    double start;     // seconds
    double length;    // seconds
    double frequency; // Hz
    double level;     // of full scale
};

constexpr std::array<Note, 2> kNotes = {{{0.0, 0.16, 1318.51, 0.30}, {0.09, 0.21, 1760.0, 0.28}}};
constexpr double kLength = 0.30;
constexpr double kAttack = 0.004;
constexpr double kRelease = 0.015;  // a fade at the end of each note, so it never clicks
constexpr double kDecayRate = 12.0; // per second

void putLe(std::string& out, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFU));
    }
}

} // namespace

std::vector<std::int16_t> chimeSamples(int sampleRate) {
    const auto count = static_cast<std::size_t>(kLength * sampleRate);
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double now = static_cast<double>(i) / sampleRate;
        double value = 0;
        for (const Note& note : kNotes) {
            const double t = now - note.start;
            if (t < 0 || t >= note.length) {
                continue;
            }
            const double envelope =
                std::min(1.0, t / kAttack) * std::exp(-kDecayRate * t) * std::min(1.0, (note.length - t) / kRelease);
            const double phase = 2 * std::numbers::pi * note.frequency * t;
            value += note.level * envelope * (std::sin(phase) + 0.25 * std::sin(2 * phase));
        }
        samples[i] = static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
    }
    return samples;
}

std::string chimeWav(int sampleRate) {
    const auto samples = chimeSamples(sampleRate);
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    const auto rate = static_cast<std::uint32_t>(sampleRate);
    std::string out = "RIFF";
    putLe(out, 36 + dataSize, 4);
    out += "WAVEfmt ";
    putLe(out, 16, 4);
    putLe(out, 1, 2); // PCM
    putLe(out, 1, 2); // mono
    putLe(out, rate, 4);
    putLe(out, rate * 2, 4); // bytes per second
    putLe(out, 2, 2);        // bytes per frame
    putLe(out, 16, 2);       // bits per sample
    out += "data";
    putLe(out, dataSize, 4);
    for (const std::int16_t sample : samples) {
        putLe(out, static_cast<std::uint16_t>(sample), 2);
    }
    return out;
}

} // namespace spindeck::platform::audio
