#include "midi.h"

#include "bytes.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace spindeck::mkmedia {

namespace {

std::uint8_t byte(int value) {
    return static_cast<std::uint8_t>(value & 0x7F);
}

std::uint8_t status(int kind, int channel) {
    return static_cast<std::uint8_t>(kind | (channel & 0x0F));
}

// Written as a variable-length quantity: seven bits a byte, the high bit set on all but the last.
void putVariable(std::string& out, std::uint32_t value) {
    std::array<std::uint8_t, 5> groups{};
    int count = 0;
    do {
        groups.at(count++) = static_cast<std::uint8_t>(value & 0x7FU);
        value >>= 7U;
    } while (value != 0);
    for (int i = count - 1; i >= 0; --i) {
        out.push_back(static_cast<char>(groups.at(i) | (i > 0 ? 0x80U : 0U)));
    }
}

// 0 for a note-off (also a note-on of velocity 0), 2 for a note-on, 1 for everything else.
int orderAtTick(const MidiEvent& event) {
    if (event.bytes.empty()) {
        return 1;
    }
    const int kind = event.bytes[0] & 0xF0;
    if (kind == 0x80 || (kind == 0x90 && event.bytes.size() > 2 && event.bytes[2] == 0)) {
        return 0;
    }
    return kind == 0x90 ? 2 : 1;
}

std::string trackChunk(MidiTrack track) {
    std::stable_sort(track.begin(), track.end(), [](const MidiEvent& a, const MidiEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : orderAtTick(a) < orderAtTick(b);
    });
    std::string body;
    std::uint32_t now = 0;
    for (const auto& event : track) {
        putVariable(body, event.tick - now);
        now = event.tick;
        body.append(event.bytes.begin(), event.bytes.end());
    }
    putVariable(body, 0);
    body += "\xFF\x2F";
    body.push_back('\0');

    std::string chunk = "MTrk";
    bytes::putBe(chunk, static_cast<std::uint32_t>(body.size()), 4);
    return chunk + body;
}

MidiEvent meta(std::uint32_t tick, int type, const std::string& data) {
    MidiEvent event{tick, {0xFF, static_cast<std::uint8_t>(type)}};
    std::string length;
    putVariable(length, static_cast<std::uint32_t>(data.size()));
    event.bytes.insert(event.bytes.end(), length.begin(), length.end());
    event.bytes.insert(event.bytes.end(), data.begin(), data.end());
    return event;
}

} // namespace

namespace midi {

MidiEvent noteOn(std::uint32_t tick, int channel, int key, int velocity) {
    return {tick, {status(0x90, channel), byte(key), byte(velocity)}};
}

MidiEvent noteOff(std::uint32_t tick, int channel, int key) {
    return {tick, {status(0x80, channel), byte(key), 64}};
}

MidiEvent programChange(std::uint32_t tick, int channel, int program) {
    return {tick, {status(0xC0, channel), byte(program)}};
}

MidiEvent controlChange(std::uint32_t tick, int channel, int controller, int value) {
    return {tick, {status(0xB0, channel), byte(controller), byte(value)}};
}

MidiEvent tempo(std::uint32_t tick, std::uint32_t microsecondsPerQuarter) {
    std::string data;
    bytes::putBe(data, microsecondsPerQuarter, 3);
    return meta(tick, 0x51, data);
}

MidiEvent timeSignature(std::uint32_t tick, int numerator, int denominatorPower) {
    // 24 MIDI clocks a metronome click, 8 thirty-second notes a quarter.
    return meta(tick, 0x58, {static_cast<char>(numerator), static_cast<char>(denominatorPower), 24, 8});
}

MidiEvent trackName(std::uint32_t tick, const std::string& name) {
    return meta(tick, 0x03, name);
}

} // namespace midi

std::string midiFile(int format, std::uint16_t ticksPerQuarter, std::vector<MidiTrack> tracks) {
    assert(format != 0 || tracks.size() == 1);
    std::string out = "MThd";
    bytes::putBe(out, 6, 4);
    bytes::putBe(out, static_cast<std::uint32_t>(format), 2);
    bytes::putBe(out, static_cast<std::uint32_t>(tracks.size()), 2);
    bytes::putBe(out, ticksPerQuarter, 2);
    for (auto& track : tracks) {
        out += trackChunk(std::move(track));
    }
    return out;
}

} // namespace spindeck::mkmedia
