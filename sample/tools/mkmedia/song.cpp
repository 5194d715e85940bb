#include "designs.h"
#include "midi.h"

#include <array>

namespace spindeck::mkmedia {

namespace {

constexpr std::uint16_t kTicksPerQuarter = 480;
constexpr std::uint32_t kBar = 4 * kTicksPerQuarter;
constexpr std::uint32_t kQuarterMicroseconds = 500000; // 120 beats a minute: a bar lasts two seconds

constexpr int kMelodyChannel = 0;
constexpr int kChordChannel = 1;
constexpr int kBassChannel = 2;
constexpr int kRest = -1;

// General MIDI programs.
constexpr int kFlute = 73;
constexpr int kElectricPiano = 4;
constexpr int kAcousticBass = 32;
constexpr int kVolume = 7;

struct Beat {
    int note;     // MIDI note number, or kRest
    double beats; // length in quarters
};

struct Bar {
    std::array<int, 4> chord; // up to four notes; 0 ends the list
    int bassRoot;
    std::vector<Beat> melody; // four quarters in all
};

// C major, 120 beats a minute, twelve bars and a closing chord: the tune climbs, answers itself,
// then walks down to the home note.
const std::vector<Bar>& tune() {
    static const std::vector<Bar> bars = {
        {{60, 64, 67, 0}, 36, {{76, 1}, {79, 1}, {84, 1.5}, {83, 0.5}}},           // C
        {{57, 60, 64, 0}, 33, {{81, 2}, {76, 1}, {72, 1}}},                        // Am
        {{57, 60, 65, 0}, 41, {{77, 1}, {81, 1}, {84, 1}, {81, 1}}},               // F
        {{55, 59, 62, 0}, 43, {{79, 3}, {kRest, 1}}},                              // G
        {{60, 64, 67, 0}, 36, {{76, 0.5}, {77, 0.5}, {79, 1}, {76, 1}, {72, 1}}},  // C
        {{55, 59, 64, 0}, 40, {{71, 1}, {76, 1}, {79, 1.5}, {77, 0.5}}},           // Em
        {{57, 60, 65, 0}, 41, {{81, 1.5}, {79, 0.5}, {77, 1}, {72, 1}}},           // F
        {{55, 59, 62, 0}, 43, {{74, 2}, {71, 1}, {kRest, 1}}},                     // G
        {{57, 60, 64, 0}, 33, {{72, 1}, {76, 1}, {81, 1}, {79, 1}}},               // Am
        {{57, 60, 65, 0}, 41, {{77, 1}, {76, 1}, {74, 1}, {72, 1}}},               // F
        {{60, 64, 67, 0}, 36, {{76, 1}, {79, 1}, {84, 2}}},                        // C
        {{55, 59, 62, 65}, 43, {{83, 1}, {81, 0.5}, {79, 0.5}, {77, 1}, {74, 1}}}, // G7
        {{48, 60, 64, 67}, 36, {{72, 4}}},                                         // C, held
    };
    return bars;
}

std::uint32_t ticks(double beats) {
    return static_cast<std::uint32_t>(beats * kTicksPerQuarter);
}

void addNote(MidiTrack& track, int channel, int key, std::uint32_t start, std::uint32_t length, int velocity) {
    track.push_back(midi::noteOn(start, channel, key, velocity));
    track.push_back(midi::noteOff(start + length, channel, key));
}

MidiTrack instrument(const char* name, int channel, int program, int volume) {
    return {midi::trackName(0, name), midi::programChange(0, channel, program),
            midi::controlChange(0, channel, kVolume, volume)};
}

void addMelody(MidiTrack& track, const Bar& bar, std::uint32_t barStart) {
    std::uint32_t at = barStart;
    for (const Beat& beat : bar.melody) {
        const std::uint32_t length = ticks(beat.beats);
        if (beat.note != kRest) {
            addNote(track, kMelodyChannel, beat.note, at, length - length / 16, 96);
        }
        at += length;
    }
}

// Two strokes of the chord a bar; the closing bar holds one.
void addChords(MidiTrack& track, const Bar& bar, std::uint32_t barStart, bool closing) {
    const std::uint32_t stroke = closing ? kBar : kBar / 2;
    for (std::uint32_t start = barStart; start < barStart + kBar; start += stroke) {
        for (const int key : bar.chord) {
            if (key != 0) {
                addNote(track, kChordChannel, key, start, stroke - 20, 64);
            }
        }
    }
}

// Root, fifth, octave, fifth; the closing bar holds the root.
void addBass(MidiTrack& track, const Bar& bar, std::uint32_t barStart, bool closing) {
    if (closing) {
        addNote(track, kBassChannel, bar.bassRoot, barStart, kBar, 90);
        return;
    }
    const std::array<int, 4> steps = {0, 7, 12, 7};
    for (std::uint32_t beat = 0; beat < 4; ++beat) {
        addNote(track, kBassChannel, bar.bassRoot + steps.at(beat), barStart + beat * kTicksPerQuarter,
                kTicksPerQuarter - 40, beat == 0 ? 92 : 78);
    }
}

} // namespace

std::string demoSong() {
    MidiTrack conductor = {midi::trackName(0, "Spindeck demo"), midi::timeSignature(0, 4, 2),
                           midi::tempo(0, kQuarterMicroseconds)};
    MidiTrack melody = instrument("Melody", kMelodyChannel, kFlute, 110);
    MidiTrack chords = instrument("Chords", kChordChannel, kElectricPiano, 80);
    MidiTrack bass = instrument("Bass", kBassChannel, kAcousticBass, 100);

    const auto& bars = tune();
    for (std::size_t index = 0; index < bars.size(); ++index) {
        const std::uint32_t barStart = static_cast<std::uint32_t>(index) * kBar;
        const bool closing = index + 1 == bars.size();
        addMelody(melody, bars[index], barStart);
        addChords(chords, bars[index], barStart, closing);
        addBass(bass, bars[index], barStart, closing);
    }
    return midiFile(1, kTicksPerQuarter, {conductor, melody, chords, bass});
}

std::string shortSong() {
    constexpr std::uint32_t kEighth = kTicksPerQuarter / 2;
    MidiTrack track = {midi::tempo(0, kQuarterMicroseconds), midi::programChange(0, kMelodyChannel, kFlute)};
    const std::array<int, 4> notes = {72, 76, 79, 84}; // an arpeggio of eighths: one second
    for (std::uint32_t i = 0; i < notes.size(); ++i) {
        addNote(track, kMelodyChannel, notes[i], i * kEighth, kEighth - 10, 100);
    }
    return midiFile(0, kTicksPerQuarter, {track});
}

} // namespace spindeck::mkmedia
