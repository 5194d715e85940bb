#include "midicheck.h"
#include "platform/dospath.h"
#include "playable.h"
#include "sdlsound.h"

#include <SDL_mixer.h>

namespace spindeck::platform::audio {

namespace {

struct MusicDeleter {
    void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
};

} // namespace

struct SdlMusicControl::Music {
    std::unique_ptr<Mix_Music, MusicDeleter> piece;
};

SdlMusicControl::SdlMusicControl(std::shared_ptr<SdlAudio> audio, const DosFileSystem& files)
    : m_audio(std::move(audio)), m_files(files) {
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
        if (m_statusUpdate) {
            m_statusUpdate();
        }
    });
}

SdlMusicControl::~SdlMusicControl() {
    close();
}

void SdlMusicControl::setUpdateInterval(int milliseconds) {
    if (milliseconds > 0) {
        m_timer.start(milliseconds);
    } else {
        m_timer.stop();
    }
}

void SdlMusicControl::command(std::string_view word) {
    if (!m_audio->isOpen()) {
        return;
    }
    if (dospath::equalsIgnoringCase(word, "open")) {
        open();
    } else if (dospath::equalsIgnoringCase(word, "play")) {
        if (m_music && mode() != kPlaying && Mix_PlayMusic(m_music->piece.get(), 0) != 0) {
            m_audio->report("cannot play the music " + m_fileName + ": " + Mix_GetError());
        }
    } else if (dospath::equalsIgnoringCase(word, "stop")) {
        if (m_music) {
            Mix_HaltMusic();
        }
    } else if (dospath::equalsIgnoringCase(word, "close")) {
        close();
    }
}

int SdlMusicControl::mode() const {
    if (!m_music) {
        return kNotOpen;
    }
    return Mix_PlayingMusic() != 0 ? kPlaying : kStopped;
}

void SdlMusicControl::open() {
    if (m_music) {
        return;
    }
    const auto file = playableFile(m_files, m_fileName);
    if (!file) {
        m_audio->report("cannot open the music " + file.error());
        return;
    }
    auto music = std::make_unique<Music>();
    music->piece.reset(Mix_LoadMUS(file->c_str()));
    if (!music->piece) {
        m_audio->report("cannot open the music " + m_fileName + ": " + Mix_GetError());
        return;
    }
    if (Mix_GetMusicType(music->piece.get()) == MUS_MID) {
        if (const auto problem = midiOutlineProblem(*file)) {
            m_audio->report("cannot open the music " + m_fileName + ": " + *problem);
            return;
        }
    }
    m_music = std::move(music);
}

void SdlMusicControl::close() {
    if (m_music) {
        Mix_HaltMusic();
        m_music.reset();
    }
}

} // namespace spindeck::platform::audio
