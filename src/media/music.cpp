#include "music.h"

namespace spindeck::media {

using platform::MusicControl;

Music::Music(ui::Services& services, QAction& mnuMusicOn) : m_services(services), m_mnuMusicOn(mnuMusicOn) {}

std::string Music::musicFile() const {
    return m_services.programFile(m_services.settings.gMidiFile);
}

void Music::start() {
    MusicControl& control = m_services.music;
    control.setDeviceType("Sequencer");
    control.setUpdateInterval(1000);
    control.onStatusUpdate([this] { statusUpdate(); });
    control.setFileName(musicFile());
    control.command("close");
    control.command("open");
    control.command("play");
}

void Music::statusUpdate() {
    MusicControl& control = m_services.music;
    if (control.mode() == MusicControl::kStopped) {
        control.command("close");
        control.command("open");
        control.command("play");
    }
}

void Music::toggle() {
    MusicControl& control = m_services.music;
    if (!m_mnuMusicOn.isChecked()) {
        m_mnuMusicOn.setChecked(true);
        control.setFileName(musicFile());
        control.command("open");
        control.command("play");
        return;
    }
    m_mnuMusicOn.setChecked(false);
    control.command("stop");
    control.command("close");
}

void Music::stopForExit() {
    m_services.music.command("stop");
    m_services.music.command("close");
}

void toggleSound(ui::Services& services, QAction& mnuSoundOn) {
    const bool wasOn = mnuSoundOn.isChecked();
    mnuSoundOn.setChecked(!wasOn);
    services.settings.gSoundOn = !wasOn;
}

} // namespace spindeck::media
