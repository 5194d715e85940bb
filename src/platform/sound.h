#pragma once

// Sound cues and the background music, as the windows use them. The real implementations play
// through the sound system; tests hand the windows fakes that record the calls.

#include <functional>
#include <string>
#include <string_view>

namespace spindeck::platform {

class CuePlayer {
public:
    // Flags of a cue: return at once, or when the sound has ended.
    static constexpr unsigned kAsync = 1;
    static constexpr unsigned kWait = 0;

    virtual ~CuePlayer() = default;
    // Plays the WAV file at the DOS path; a file that cannot be played sounds the default chime,
    // and a new cue cuts off one still playing.
    virtual void sndPlaySoundA(const std::string& dosPath, unsigned flags) = 0;
    // The number of playback devices; 0 when there is no way to play sound.
    virtual int waveOutGetNumDevs() = 0;
};

// The music control: a MIDI player driven by command words.
class MusicControl {
public:
    static constexpr int kNotOpen = 524;
    static constexpr int kStopped = 525;
    static constexpr int kPlaying = 526;

    virtual ~MusicControl() = default;
    virtual void setDeviceType(const std::string& type) = 0;
    virtual void setFileName(const std::string& dosPath) = 0;
    [[nodiscard]] virtual std::string fileName() const = 0;
    virtual void setUpdateInterval(int milliseconds) = 0;
    // "open", "play", "stop", "close"; the result is never read.
    virtual void command(std::string_view word) = 0;
    [[nodiscard]] virtual int mode() const = 0;
    // Called every update interval while the control lives.
    virtual void onStatusUpdate(std::function<void()> handler) = 0;
};

} // namespace spindeck::platform
