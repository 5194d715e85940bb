#include "designs.h"

#include <algorithm>

namespace spindeck::mkmedia {

namespace {

struct Step {
    double start;    // seconds
    double duration; // seconds
    int note;        // MIDI note number
    double amplitude;
};

struct Cue {
    std::string_view kind;
    std::vector<Step> steps;
};

// C5 is note 72. Each jingle has its own shape, so the cues can be told apart by ear.
const std::vector<Cue>& cues() {
    static const std::vector<Cue> table = {
        // Welcome: a rising major arpeggio that lands on the octave.
        {"start", {{0.00, 0.30, 72, 0.5}, {0.12, 0.30, 76, 0.5}, {0.24, 0.30, 79, 0.5}, {0.36, 0.50, 84, 0.6}}},
        // Goodbye: the same chord falling, slower.
        {"exit", {{0.00, 0.35, 79, 0.5}, {0.18, 0.35, 76, 0.5}, {0.36, 0.50, 72, 0.55}}},
        // A description appears: a light upward blip.
        {"diz", {{0.00, 0.15, 81, 0.45}, {0.10, 0.22, 88, 0.4}}},
        // The settings file was read: three quick steps.
        {"qrv", {{0.00, 0.15, 74, 0.45}, {0.10, 0.15, 78, 0.45}, {0.20, 0.28, 81, 0.5}}},
        // Both at once: the blip answered by a low fifth.
        {"diznqrv", {{0.00, 0.15, 81, 0.45}, {0.10, 0.22, 88, 0.4}, {0.30, 0.30, 69, 0.45}, {0.30, 0.30, 76, 0.35}}},
        // Install: a two-chord fanfare.
        {"inst",
         {{0.00, 0.40, 72, 0.4},
          {0.00, 0.40, 79, 0.35},
          {0.35, 0.85, 84, 0.45},
          {0.35, 0.85, 88, 0.35},
          {0.35, 0.85, 91, 0.3}}},
    };
    return table;
}

} // namespace

const std::vector<std::string_view>& cueKinds() {
    static const std::vector<std::string_view> kinds = [] {
        std::vector<std::string_view> names;
        for (const auto& cue : cues()) {
            names.push_back(cue.kind);
        }
        return names;
    }();
    return kinds;
}

std::optional<std::vector<Tone>> cueTones(std::string_view kind) {
    const auto& table = cues();
    const auto cue = std::find_if(table.begin(), table.end(), [kind](const Cue& c) { return c.kind == kind; });
    if (cue == table.end()) {
        return std::nullopt;
    }
    std::vector<Tone> tones;
    for (const auto& step : cue->steps) {
        tones.push_back({step.start, step.duration, noteFrequency(step.note), step.amplitude});
    }
    return tones;
}

} // namespace spindeck::mkmedia
