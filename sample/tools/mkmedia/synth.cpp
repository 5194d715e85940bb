#include "synth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace spindeck::mkmedia {

namespace {

constexpr double kAttack = 0.006;  // seconds
constexpr double kFade = 0.02;     // seconds, at the end of each tone
constexpr double kDecayRate = 3.5; // per second: the tone falls to about 3% in one second
constexpr double kHeadroom = 0.9;

struct Partial {
    double multiple;
    double strength;
};
constexpr std::array<Partial, 3> kPartials = {{{1.0, 1.0}, {2.0, 0.35}, {3.0, 0.12}}};

double envelope(double t, double duration) {
    if (t < 0 || t >= duration) {
        return 0;
    }
    const double rise = std::min(1.0, t / kAttack);
    const double fall = std::exp(-kDecayRate * t);
    const double fade = std::min(1.0, (duration - t) / kFade);
    return rise * fall * fade;
}

} // namespace

double noteFrequency(int midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

std::vector<std::int16_t> renderTones(std::span<const Tone> tones, int sampleRate) {
    double length = 0;
    for (const auto& tone : tones) {
        length = std::max(length, tone.start + tone.duration);
    }
    const auto count = static_cast<std::size_t>(std::ceil(length * sampleRate));
    std::vector<double> mix(count, 0.0);
    for (const auto& tone : tones) {
        const auto first = static_cast<std::size_t>(std::max(0.0, tone.start * sampleRate));
        const auto last =
            std::min(count, static_cast<std::size_t>(std::ceil((tone.start + tone.duration) * sampleRate)));
        for (std::size_t i = first; i < last; ++i) {
            const double t = static_cast<double>(i) / sampleRate - tone.start;
            const double level = tone.amplitude * envelope(t, tone.duration);
            double value = 0;
            for (const auto& partial : kPartials) {
                value += partial.strength * std::sin(2 * std::numbers::pi * tone.frequency * partial.multiple * t);
            }
            mix[i] += level * value;
        }
    }
    double peak = 0;
    for (const double value : mix) {
        peak = std::max(peak, std::abs(value));
    }
    const double scale = peak > kHeadroom ? kHeadroom / peak : 1.0;
    std::vector<std::int16_t> samples(count);
    std::transform(mix.begin(), mix.end(), samples.begin(), [scale](double value) {
        return static_cast<std::int16_t>(std::lround(std::clamp(value * scale, -1.0, 1.0) * 32767.0));
    });
    return samples;
}

} // namespace spindeck::mkmedia
