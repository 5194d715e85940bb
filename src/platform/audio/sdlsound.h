#pragma once

// Sound through SDL_mixer. One SdlAudio opens the mixer (44100 Hz, 16-bit, stereo) for the whole
// run and is shared by the cue player and the music control; when the mixer cannot be opened, both
// stay silent and the reason is reported once. Cues play on one mixer channel of their own, so a
// new cue cuts off the one still sounding; music plays through the mixer's music stream (MIDI
// through FluidSynth and the system's General MIDI SoundFont). DOS paths are resolved through
// the program's DosFileSystem. Problems (no sound device, a file that cannot be played) go to
// a report function, one line each; by default they are written to standard error.
//
// SDL_mixer has one music stream per process: make one SdlAudio and one SdlMusicControl at a time.
// The players keep the SdlAudio alive; the DosFileSystem they are given must outlive them.
// Everything here belongs to the thread that runs the Qt event loop.

#include "platform/dosfs.h"
#include "platform/sound.h"

#include <QTimer>
#include <functional>
#include <memory>
#include <string>

namespace spindeck::platform::audio {

using ReportProblem = std::function<void(const std::string& line)>;

// Writes "spindeck: <line>" to standard error.
void reportToStandardError(const std::string& line);

class SdlAudio final {
public:
    explicit SdlAudio(ReportProblem report = reportToStandardError);
    ~SdlAudio();
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    [[nodiscard]] bool isOpen() const { return m_open; }
    // The playback devices SDL reports, at least 1 while the mixer is open (the disk and dummy
    // drivers, and systems that only offer a default device, report none); 0 when it is not.
    [[nodiscard]] int deviceCount() const;
    void report(const std::string& line) const;

private:
    ReportProblem m_report;
    bool m_subsystem = false;
    bool m_open = false;
};

class SdlCuePlayer final : public CuePlayer {
public:
    SdlCuePlayer(std::shared_ptr<SdlAudio> audio, const DosFileSystem& files);
    ~SdlCuePlayer() override;
    SdlCuePlayer(const SdlCuePlayer&) = delete;
    SdlCuePlayer& operator=(const SdlCuePlayer&) = delete;

    // A wait never lasts longer than the cue plus two seconds, so a stalled device cannot hang
    // the window that asked.
    void sndPlaySoundA(const std::string& dosPath, unsigned flags) override;
    int waveOutGetNumDevs() override;

private:
    struct Chunks;

    std::shared_ptr<SdlAudio> m_audio;
    const DosFileSystem& m_files;
    std::unique_ptr<Chunks> m_chunks;
};

class SdlMusicControl final : public MusicControl {
public:
    SdlMusicControl(std::shared_ptr<SdlAudio> audio, const DosFileSystem& files);
    ~SdlMusicControl() override;
    SdlMusicControl(const SdlMusicControl&) = delete;
    SdlMusicControl& operator=(const SdlMusicControl&) = delete;

    void setDeviceType(const std::string& type) override { m_deviceType = type; }
    [[nodiscard]] const std::string& deviceType() const { return m_deviceType; }
    void setFileName(const std::string& dosPath) override { m_fileName = dosPath; }
    [[nodiscard]] std::string fileName() const override { return m_fileName; }
    // 0 or less stops the status updates.
    void setUpdateInterval(int milliseconds) override;
    // Words are taken in any case; others are ignored. "open" on an open control and "play" while
    // playing change nothing; "play" after the piece ended or after "stop" starts it from the
    // beginning, once; "stop" halts it; "close" frees it.
    void command(std::string_view word) override;
    [[nodiscard]] int mode() const override;
    void onStatusUpdate(std::function<void()> handler) override { m_statusUpdate = std::move(handler); }

private:
    struct Music;

    void open();
    void close();

    std::shared_ptr<SdlAudio> m_audio;
    const DosFileSystem& m_files;
    std::string m_deviceType;
    std::string m_fileName;
    std::unique_ptr<Music> m_music;
    QTimer m_timer;
    std::function<void()> m_statusUpdate;
};

} // namespace spindeck::platform::audio
