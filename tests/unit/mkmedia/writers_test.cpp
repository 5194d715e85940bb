#include "mkmedia/designs.h"
#include "mkmedia/midi.h"
#include "mkmedia/wav.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <utility>
#include <vector>
#include <zlib.h>

namespace spindeck::mkmedia {
namespace {

std::uint32_t le(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8U | static_cast<std::uint8_t>(bytes.at(at + i));
    }
    return value;
}

std::uint32_t be(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
        value = value << 8U | static_cast<std::uint8_t>(bytes.at(at + i));
    }
    return value;
}

// --- WAV -------------------------------------------------------------------------------------------------------------

TEST(WavTest, HeaderDescribesTheSamples) {
    const std::int16_t samples[] = {0, 1000, -1000, 32767, -32768};
    const std::string file = wavFile(samples, 22050);
    ASSERT_EQ(file.size(), 44U + 10U);
    EXPECT_EQ(file.substr(0, 4), "RIFF");
    EXPECT_EQ(le(file, 4, 4), file.size() - 8);
    EXPECT_EQ(file.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(le(file, 16, 4), 16U);
    EXPECT_EQ(le(file, 20, 2), 1U);     // PCM
    EXPECT_EQ(le(file, 22, 2), 1U);     // mono
    EXPECT_EQ(le(file, 24, 4), 22050U); // sample rate
    EXPECT_EQ(le(file, 28, 4), 44100U); // bytes a second
    EXPECT_EQ(le(file, 32, 2), 2U);     // bytes a frame
    EXPECT_EQ(le(file, 34, 2), 16U);    // bits a sample
    EXPECT_EQ(file.substr(36, 4), "data");
    EXPECT_EQ(le(file, 40, 4), 10U);
    EXPECT_EQ(static_cast<std::int16_t>(le(file, 44 + 6, 2)), 32767);
    EXPECT_EQ(static_cast<std::int16_t>(le(file, 44 + 8, 2)), -32768);
}

// Every cue lasts 0.3 to 1.2 s, is heard, never clips, and starts and ends at silence (no click).
TEST(CueDesignTest, EveryCueIsAShortCleanJingle) {
    ASSERT_EQ(cueKinds().size(), 6U);
    for (const auto kind : cueKinds()) {
        SCOPED_TRACE(std::string(kind));
        const auto tones = cueTones(kind);
        ASSERT_TRUE(tones);
        const auto samples = renderTones(*tones, kCueSampleRate);
        const double seconds = static_cast<double>(samples.size()) / kCueSampleRate;
        EXPECT_GE(seconds, 0.3);
        EXPECT_LE(seconds, 1.2);
        const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
        EXPECT_GT(*high, 8000);
        EXPECT_LT(*high, 32000);
        EXPECT_GT(*low, -32000);
        EXPECT_LT(std::abs(samples.front()), 200);
        EXPECT_LT(std::abs(samples.back()), 200);
    }
    EXPECT_FALSE(cueTones("chime"));
}

// --- MIDI ------------------------------------------------------------------------------------------------------------

struct ParsedMidi {
    std::uint32_t format = 0;
    std::uint32_t division = 0;
    std::size_t tracks = 0;
    double seconds = 0; // when the last event happens, under the file's tempo changes
    int openNotes = 0;  // note-ons without their note-off at the end
    int notes = 0;
    std::string problem; // empty when every chunk and event was well formed
};

std::uint32_t variable(const std::string& bytes, std::size_t& at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const auto b = static_cast<std::uint8_t>(bytes.at(at++));
        value = value << 7U | (b & 0x7FU);
        if ((b & 0x80U) == 0) {
            break;
        }
    }
    return value;
}

// A reader of just what a player needs, to check the writer against the file format: chunk
// lengths, delta times, running status, meta events, and End of Track closing every track.
ParsedMidi parseMidi(const std::string& bytes) {
    ParsedMidi parsed;
    if (bytes.substr(0, 4) != "MThd" || be(bytes, 4, 4) != 6) {
        parsed.problem = "bad MThd";
        return parsed;
    }
    parsed.format = be(bytes, 8, 2);
    const std::uint32_t declaredTracks = be(bytes, 10, 2);
    parsed.division = be(bytes, 12, 2);
    std::vector<std::pair<std::uint32_t, std::uint32_t>> tempoChanges{{0, 500000}}; // tick, microseconds
    std::uint32_t lastTick = 0;
    std::map<int, int> sounding;
    std::size_t at = 14;
    while (at < bytes.size()) {
        if (bytes.substr(at, 4) != "MTrk") {
            parsed.problem = "chunk is not MTrk";
            return parsed;
        }
        const std::size_t end = at + 8 + be(bytes, at + 4, 4);
        if (end > bytes.size()) {
            parsed.problem = "MTrk longer than the file";
            return parsed;
        }
        at += 8;
        std::uint32_t tick = 0;
        std::uint8_t running = 0;
        bool ended = false;
        while (at < end && !ended) {
            tick += variable(bytes, at);
            auto status = static_cast<std::uint8_t>(bytes.at(at));
            if (status & 0x80U) {
                ++at;
            } else {
                status = running;
            }
            if (status == 0xFF) {
                const auto type = static_cast<std::uint8_t>(bytes.at(at++));
                const std::uint32_t length = variable(bytes, at);
                if (type == 0x51) {
                    tempoChanges.emplace_back(tick, be(bytes, at, 3));
                }
                ended = type == 0x2F;
                at += length;
                continue;
            }
            running = status;
            const int kind = status & 0xF0;
            const int dataBytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
            if (kind == 0x90 || kind == 0x80) {
                const int key = (status & 0x0F) << 8 | static_cast<std::uint8_t>(bytes.at(at));
                const bool on = kind == 0x90 && bytes.at(at + 1) != 0;
                sounding[key] += on ? 1 : -1;
                parsed.notes += on ? 1 : 0;
            }
            at += static_cast<std::size_t>(dataBytes);
            lastTick = std::max(lastTick, tick);
        }
        if (!ended || at != end) {
            parsed.problem = "track does not close with End of Track at its declared length";
            return parsed;
        }
        ++parsed.tracks;
    }
    if (parsed.tracks != declaredTracks) {
        parsed.problem = "MThd counts " + std::to_string(declaredTracks) + " tracks";
    }
    for (const auto& [key, count] : sounding) {
        parsed.openNotes += count;
    }
    std::sort(tempoChanges.begin(), tempoChanges.end());
    double microseconds = 0;
    for (std::size_t i = 0; i < tempoChanges.size(); ++i) {
        const std::uint32_t from = tempoChanges[i].first;
        const std::uint32_t to = i + 1 < tempoChanges.size() ? std::min(tempoChanges[i + 1].first, lastTick) : lastTick;
        if (to > from) {
            microseconds += static_cast<double>(to - from) * tempoChanges[i].second / parsed.division;
        }
    }
    parsed.seconds = microseconds / 1e6;
    return parsed;
}

TEST(MidiTest, WriterUsesRunningLengthsAndLongDeltaTimes) {
    // A delta of 0x4000 ticks needs three bytes: 81 80 00.
    const std::string file =
        midiFile(0, 96, {{midi::noteOn(0, 0, 60, 100), midi::noteOff(0x4000, 0, 60), midi::tempo(0, 600000)}});
    EXPECT_NE(file.find(std::string("\x81\x80\x00\x80\x3C\x40", 6)), std::string::npos);
    const auto parsed = parseMidi(file);
    EXPECT_EQ(parsed.problem, "");
    EXPECT_EQ(parsed.division, 96U);
    EXPECT_DOUBLE_EQ(parsed.seconds, 0x4000 * 0.6 / 96);
}

TEST(MidiTest, NoteOffComesBeforeANoteStruckAtTheSameTick) {
    const std::string file = midiFile(0, 96, {{midi::noteOn(96, 0, 60, 100), midi::noteOff(96, 0, 60)}});
    EXPECT_LT(file.find(std::string("\x80\x3C", 2)), file.find(std::string("\x90\x3C", 2)));
}

struct SongCase {
    const char* label;
    std::string file;
    std::uint32_t format;
    double minSeconds;
    double maxSeconds;
};

void PrintTo(const SongCase& row, std::ostream* out) {
    *out << row.label;
}

class SongTest : public testing::TestWithParam<SongCase> {};

TEST_P(SongTest, IsAWellFormedFileOfTheIntendedLength) {
    const auto parsed = parseMidi(GetParam().file);
    EXPECT_EQ(parsed.problem, "");
    EXPECT_EQ(parsed.format, GetParam().format);
    EXPECT_GE(parsed.seconds, GetParam().minSeconds);
    EXPECT_LE(parsed.seconds, GetParam().maxSeconds);
    EXPECT_GT(parsed.notes, 3);
    EXPECT_EQ(parsed.openNotes, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, SongTest,
                         testing::Values(SongCase{"demo_song", demoSong(), 1, 20, 30},
                                         SongCase{"short_song_for_tests", shortSong(), 0, 0.8, 1.2}),
                         [](const auto& row) { return std::string(row.param.label); });

// --- BMP -------------------------------------------------------------------------------------------------------------

TEST(BmpTest, RowsArePaddedAndStoredFromTheBottom) {
    Image image{3, 2, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};
    const std::string file = bmpFile(image);
    const std::uint32_t stride = 12; // 9 bytes of pixels, padded to 12
    ASSERT_EQ(file.size(), 54 + 2 * stride);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(le(file, 2, 4), file.size());
    EXPECT_EQ(le(file, 10, 4), 54U);
    EXPECT_EQ(le(file, 14, 4), 40U);
    EXPECT_EQ(le(file, 18, 4), 3U);
    EXPECT_EQ(le(file, 22, 4), 2U);
    EXPECT_EQ(le(file, 26, 2), 1U);
    EXPECT_EQ(le(file, 28, 2), 24U);
    EXPECT_EQ(le(file, 30, 4), 0U);
    EXPECT_EQ(le(file, 34, 4), 2 * stride);
    // The first stored row is the bottom one, blue-green-red per pixel.
    EXPECT_EQ(file.substr(54, 3), std::string("\x03\x02\x01", 3));
    EXPECT_EQ(file.substr(54 + stride, 3), std::string("\x00\x00\xFF", 3));
}

TEST(LogoTest, HasTheRequestedSizeAndShowsMoreThanTheBackground) {
    const Image image = logo(121, 80);
    ASSERT_EQ(image.pixels.size(), 121U * 80U);
    const auto at = [&image](int x, int y) { return image.pixels[static_cast<std::size_t>(y) * 121 + x]; };
    // The corners are the dark-blue-to-teal gradient; right of the spindle lies the bright face of
    // the top disc.
    EXPECT_LT(at(0, 0).red, 60);
    EXPECT_GT(at(0, 79).green, at(0, 0).green);
    EXPECT_GT(at(76, 36).red + at(76, 36).green + at(76, 36).blue, 3 * 150);
}

// --- PNG -------------------------------------------------------------------------------------------------------------

struct Chunk {
    std::string type;
    std::string data;
};

// Splits a PNG file into its chunks, checking each one's CRC.
std::vector<Chunk> chunksOf(const std::string& file) {
    std::vector<Chunk> chunks;
    for (std::size_t at = 8; at < file.size();) {
        const std::uint32_t length = be(file, at, 4);
        const std::string typeAndData = file.substr(at + 4, 4 + length);
        const auto crc = crc32(0, reinterpret_cast<const Bytef*>(typeAndData.data()), 4 + length);
        EXPECT_EQ(be(file, at + 8 + length, 4), crc) << typeAndData.substr(0, 4);
        chunks.push_back({typeAndData.substr(0, 4), typeAndData.substr(4)});
        at += 12 + length;
    }
    return chunks;
}

TEST(PngTest, IconIsARoundedSquareOfTheLogo) {
    constexpr int kSide = 48;
    const std::string file = pngFile(icon(kSide));
    ASSERT_EQ(file.substr(0, 8), std::string("\x89PNG\r\n\x1A\n"));
    const auto chunks = chunksOf(file);
    ASSERT_EQ(chunks.size(), 3U);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(be(chunks[0].data, 0, 4), std::uint32_t{kSide});
    EXPECT_EQ(be(chunks[0].data, 4, 4), std::uint32_t{kSide});
    EXPECT_EQ(chunks[0].data.substr(8), std::string("\x08\x06\x00\x00\x00", 5)); // 8-bit RGBA
    EXPECT_EQ(chunks[1].type, "IDAT");
    EXPECT_EQ(chunks[2].type, "IEND");

    constexpr std::size_t kStride = 1 + 4 * kSide; // filter byte, then RGBA
    std::string rows(kStride * kSide + 1, '\0');
    uLongf size = rows.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(rows.data()), &size,
                         reinterpret_cast<const Bytef*>(chunks[1].data.data()), chunks[1].data.size()),
              Z_OK);
    ASSERT_EQ(size, kStride * kSide);
    const auto alphaAt = [&rows](int x, int y) {
        return static_cast<std::uint8_t>(rows[static_cast<std::size_t>(y) * kStride + 1 + 4 * x + 3]);
    };
    EXPECT_EQ(alphaAt(0, 0), 0); // a rounded corner
    EXPECT_EQ(alphaAt(kSide - 1, kSide - 1), 0);
    EXPECT_EQ(alphaAt(kSide / 2, 0), 255); // the middle of an edge
    EXPECT_EQ(alphaAt(kSide / 2, kSide / 2), 255);
    const Rgb centre = logo(kSide, kSide).pixels[kSide / 2 * kSide + kSide / 2];
    const std::size_t centreAt = kSide / 2 * kStride + 1 + 4 * (kSide / 2);
    EXPECT_EQ(rows.substr(centreAt, 3), std::string({static_cast<char>(centre.red), static_cast<char>(centre.green),
                                                     static_cast<char>(centre.blue)}));
}

} // namespace
} // namespace spindeck::mkmedia
