#pragma once

// The program's own default sound, played when a cue's file cannot be played: two notes a fourth
// apart (E6 then A6), each rising in a few milliseconds and dying away, about 0.3 s in all.

#include <cstdint>
#include <string>
#include <vector>

namespace spindeck::platform::audio {

// Mono 16-bit samples of the chime at the given rate.
[[nodiscard]] std::vector<std::int16_t> chimeSamples(int sampleRate);

// The chime as the bytes of a mono 16-bit WAV file, so that the mixer converts it like any cue.
[[nodiscard]] std::string chimeWav(int sampleRate);

} // namespace spindeck::platform::audio
