#pragma once

// A sound test's world: drive C: in a scratch directory, SDL's disk driver writing what the mixer
// plays to a file, and the problems the sound code reports, kept as lines. The file tells when
// sound was really produced: signed 16-bit stereo frames at 44100 Hz, written in real time.

#include "mkmedia/synth.h"
#include "mkmedia/wav.h"
#include "platform/audio/sdlsound.h"
#include "support/scratch.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace spindeck::platform::audio::testing_support {

using platform::testing_support::readText;
using platform::testing_support::RowLabel;
using platform::testing_support::ScopedEnv;
using platform::testing_support::ScratchDir;
using platform::testing_support::writeText;

// When the mixer's output was above a whisper, in seconds from the moment the device opened.
struct Heard {
    std::optional<double> first;
    std::optional<double> last;

    [[nodiscard]] double span() const { return first ? *last - *first : 0; }
};

inline Heard listen(const std::string& raw) {
    constexpr int kFrameBytes = 4;
    constexpr int kWhisper = 16;
    Heard heard;
    for (std::size_t at = 0; at + 1 < raw.size(); at += 2) {
        const auto sample = static_cast<std::int16_t>(static_cast<std::uint8_t>(raw[at]) |
                                                      static_cast<std::uint8_t>(raw[at + 1]) << 8U);
        if (std::abs(sample) > kWhisper) {
            const double seconds = static_cast<double>(at / kFrameBytes) / 44100.0;
            heard.first = heard.first.value_or(seconds);
            heard.last = seconds;
        }
    }
    return heard;
}

// A mono WAV file of one tone.
inline std::string toneWav(double seconds, double frequency = 440) {
    const mkmedia::Tone tone{0, seconds, frequency, 0.5};
    return mkmedia::wavFile(mkmedia::renderTones({&tone, 1}, 22050), 22050);
}

inline void pause(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

inline double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class AudioTest : public testing::Test {
protected:
    // The driver is chosen from the environment when the mixer opens.
    explicit AudioTest(const char* driver = "disk")
        : m_driver("SDL_AUDIODRIVER", std::string(driver)), m_diskFile("SDL_DISKAUDIOFILE", m_raw.string()) {
        std::filesystem::create_directories(m_c);
        m_files.emplace(DriveMap({Drive{'C', m_c, DriveKind::Fixed, {}}}), "C:\\");
        m_audio = std::make_shared<SdlAudio>([this](const std::string& line) { m_reports.push_back(line); });
    }

    // Closes the mixer, so that the disk driver's file is complete, and tells what was heard.
    Heard closeAndListen() {
        closeAudio();
        m_audio.reset();
        return listen(readText(m_raw));
    }

    // Whoever holds the mixer lets it go here, before it closes.
    virtual void closeAudio() {}

    ScratchDir m_dir;
    std::filesystem::path m_c = m_dir / "c";
    std::filesystem::path m_raw = m_dir / "mixer.raw";
    ScopedEnv m_driver;
    ScopedEnv m_diskFile;
    std::optional<DosFileSystem> m_files;
    std::vector<std::string> m_reports;
    std::shared_ptr<SdlAudio> m_audio;
};

} // namespace spindeck::platform::audio::testing_support
