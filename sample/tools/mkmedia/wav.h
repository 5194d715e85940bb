#pragma once

// RIFF WAVE files of 16-bit PCM samples.

#include <cstdint>
#include <span>
#include <string>

namespace spindeck::mkmedia {

// The bytes of a WAV file holding the samples (interleaved when there are several channels).
[[nodiscard]] std::string wavFile(std::span<const std::int16_t> samples, int sampleRate, int channels = 1);

} // namespace spindeck::mkmedia
