#pragma once

// Standard MIDI files. Events are placed at absolute ticks; the writer sorts each track, writes
// the delta times and ends the track with End of Track at its last event.

#include <cstdint>
#include <string>
#include <vector>

namespace spindeck::mkmedia {

struct MidiEvent {
    std::uint32_t tick = 0;
    std::vector<std::uint8_t> bytes; // a complete message with its status byte, or a meta event from 0xFF
};

using MidiTrack = std::vector<MidiEvent>;

namespace midi {
[[nodiscard]] MidiEvent noteOn(std::uint32_t tick, int channel, int key, int velocity);
[[nodiscard]] MidiEvent noteOff(std::uint32_t tick, int channel, int key);
[[nodiscard]] MidiEvent programChange(std::uint32_t tick, int channel, int program);
[[nodiscard]] MidiEvent controlChange(std::uint32_t tick, int channel, int controller, int value);
[[nodiscard]] MidiEvent tempo(std::uint32_t tick, std::uint32_t microsecondsPerQuarter);
[[nodiscard]] MidiEvent timeSignature(std::uint32_t tick, int numerator, int denominatorPower);
[[nodiscard]] MidiEvent trackName(std::uint32_t tick, const std::string& name);
} // namespace midi

// Format 0 takes exactly one track. At one tick, note-offs come before the other events and
// note-ons last, so that a note struck again at the tick its earlier stroke ends is not cut.
[[nodiscard]] std::string midiFile(int format, std::uint16_t ticksPerQuarter, std::vector<MidiTrack> tracks);

} // namespace spindeck::mkmedia
