#pragma once

// The media generator's sound: the cue jingles are sums of sine tones, and each tone sounds under
// an envelope (a quick rise, an exponential fall, a short fade at its end) so that nothing clicks.

#include <cstdint>
#include <span>
#include <vector>

namespace spindeck::mkmedia {

struct Tone {
    double start = 0;     // seconds
    double duration = 0;  // seconds
    double frequency = 0; // Hz
    double amplitude = 0; // 0..1 of full scale
};

// The frequency of a MIDI note number (69 is A at 440 Hz).
[[nodiscard]] double noteFrequency(int midiNote);

// Mono 16-bit samples that last until the last tone has ended. Each tone adds its fundamental and
// two softer overtones. The sum is scaled down when it would pass 90% of full scale.
[[nodiscard]] std::vector<std::int16_t> renderTones(std::span<const Tone> tones, int sampleRate);

} // namespace spindeck::mkmedia
