#include "chime.h"
#include "playable.h"
#include "sdlsound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <chrono>
#include <thread>

namespace spindeck::platform::audio {

namespace {

constexpr int kCueChannel = 0; // reserved: nothing else plays on it
constexpr int kChimeRate = 44100;
constexpr auto kPoll = std::chrono::milliseconds(10);
constexpr auto kWaitMargin = std::chrono::seconds(2);

struct ChunkDeleter {
    void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};
using ChunkPtr = std::unique_ptr<Mix_Chunk, ChunkDeleter>;

// How long a chunk lasts at the mixer's format.
std::chrono::milliseconds lengthOf(const Mix_Chunk& chunk) {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) == 0 || frequency <= 0 || channels <= 0) {
        return std::chrono::milliseconds(0);
    }
    const auto bytesPerSecond = static_cast<long long>(frequency) * channels * (SDL_AUDIO_BITSIZE(format) / 8);
    return std::chrono::milliseconds(static_cast<long long>(chunk.alen) * 1000 / bytesPerSecond);
}

} // namespace

struct SdlCuePlayer::Chunks {
    ChunkPtr chime;
    ChunkPtr current; // the file cue last started; kept until the next cue cuts it off
};

SdlCuePlayer::SdlCuePlayer(std::shared_ptr<SdlAudio> audio, const DosFileSystem& files)
    : m_audio(std::move(audio)), m_files(files), m_chunks(std::make_unique<Chunks>()) {
    if (!m_audio->isOpen()) {
        return;
    }
    Mix_ReserveChannels(kCueChannel + 1);
    const std::string wav = chimeWav(kChimeRate);
    m_chunks->chime.reset(Mix_LoadWAV_RW(SDL_RWFromConstMem(wav.data(), static_cast<int>(wav.size())), 1));
    if (!m_chunks->chime) {
        m_audio->report(std::string("cannot make the default chime: ") + Mix_GetError());
    }
}

SdlCuePlayer::~SdlCuePlayer() {
    if (m_audio->isOpen()) {
        Mix_HaltChannel(kCueChannel);
    }
}

void SdlCuePlayer::sndPlaySoundA(const std::string& dosPath, unsigned flags) {
    if (!m_audio->isOpen()) {
        return;
    }
    // Cut off the cue still sounding before its chunk may be freed.
    Mix_HaltChannel(kCueChannel);
    m_chunks->current.reset();

    Mix_Chunk* chunk = nullptr;
    if (const auto file = playableFile(m_files, dosPath); !file) {
        m_audio->report("cannot play " + file.error() + "; the default chime sounds instead");
    } else if (ChunkPtr loaded(Mix_LoadWAV(file->c_str())); !loaded) {
        m_audio->report("cannot play " + dosPath + ": " + Mix_GetError() + "; the default chime sounds instead");
    } else {
        m_chunks->current = std::move(loaded);
        chunk = m_chunks->current.get();
    }
    if (chunk == nullptr) {
        chunk = m_chunks->chime.get();
    }
    if (chunk == nullptr || Mix_PlayChannel(kCueChannel, chunk, 0) < 0) {
        return;
    }
    if ((flags & kAsync) == 0) {
        const auto deadline = std::chrono::steady_clock::now() + lengthOf(*chunk) + kWaitMargin;
        while (Mix_Playing(kCueChannel) != 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(kPoll);
        }
    }
}

int SdlCuePlayer::waveOutGetNumDevs() {
    return m_audio->deviceCount();
}

} // namespace spindeck::platform::audio
