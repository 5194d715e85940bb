#include "wav.h"

#include "bytes.h"

namespace spindeck::mkmedia {

std::string wavFile(std::span<const std::int16_t> samples, int sampleRate, int channels) {
    using bytes::putLe;
    constexpr std::uint32_t kBytesPerSample = 2;
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * kBytesPerSample);
    const auto rate = static_cast<std::uint32_t>(sampleRate);
    const auto channelCount = static_cast<std::uint32_t>(channels);
    std::string out;
    out.reserve(44 + dataSize);
    out += "RIFF";
    putLe(out, 36 + dataSize, 4);
    out += "WAVEfmt ";
    putLe(out, 16, 4);
    putLe(out, 1, 2); // PCM
    putLe(out, channelCount, 2);
    putLe(out, rate, 4);
    putLe(out, rate * channelCount * kBytesPerSample, 4); // bytes per second
    putLe(out, channelCount * kBytesPerSample, 2);        // bytes per frame
    putLe(out, 16, 2);                                    // bits per sample
    out += "data";
    putLe(out, dataSize, 4);
    for (const std::int16_t sample : samples) {
        putLe(out, static_cast<std::uint16_t>(sample), 2);
    }
    return out;
}

} // namespace spindeck::mkmedia
