#pragma once

// Sound for a machine with no way to play it: no playback device, a music control that never
// opens. Nothing is ever heard and nothing fails.

#include "sound.h"

namespace spindeck::platform {

class SilentCuePlayer final : public CuePlayer {
public:
    void sndPlaySoundA(const std::string& /*dosPath*/, unsigned /*flags*/) override {}
    int waveOutGetNumDevs() override { return 0; }
};

class SilentMusicControl final : public MusicControl {
public:
    void setDeviceType(const std::string& /*type*/) override {}
    void setFileName(const std::string& dosPath) override { m_fileName = dosPath; }
    [[nodiscard]] std::string fileName() const override { return m_fileName; }
    void setUpdateInterval(int /*milliseconds*/) override {}
    void command(std::string_view /*word*/) override {}
    [[nodiscard]] int mode() const override { return kNotOpen; }
    void onStatusUpdate(std::function<void()> /*handler*/) override {}

private:
    std::string m_fileName;
};

} // namespace spindeck::platform
