#include "playable.h"
#include "sdlsound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <cstdio>
#include <dlfcn.h>

namespace spindeck::platform::audio {

namespace {

constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
constexpr int kChunkFrames = 1024; // about 23 ms: cues start promptly
constexpr const char* kSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

// alsa-lib writes its own complaints to standard error (eight lines when there is no sound card).
// While the device opens they are muted, so that our one line is all a user sees. SDL loads the
// library itself; opening it here first gives the same instance, whose error handler we set.
class QuietAlsa final {
public:
    QuietAlsa() {
        m_library = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
        if (m_library != nullptr) {
            m_setHandler = reinterpret_cast<SetHandler>(dlsym(m_library, "snd_lib_error_set_handler"));
        }
        if (m_setHandler != nullptr) {
            m_setHandler(&silent);
        }
    }
    ~QuietAlsa() {
        if (m_setHandler != nullptr) {
            m_setHandler(nullptr); // alsa-lib's own handler again
        }
        if (m_library != nullptr) {
            dlclose(m_library);
        }
    }
    QuietAlsa(const QuietAlsa&) = delete;
    QuietAlsa& operator=(const QuietAlsa&) = delete;

private:
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);

    static void silent(const char* /*file*/, int /*line*/, const char* /*function*/, int /*error*/,
                       const char* /*format*/, ...) {}

    void* m_library = nullptr;
    SetHandler m_setHandler = nullptr;
};

} // namespace

void reportToStandardError(const std::string& line) {
    std::fprintf(stderr, "spindeck: %s\n", line.c_str());
}

SdlAudio::SdlAudio(ReportProblem report) : m_report(std::move(report)) {
    // SDL would otherwise take SIGINT and SIGTERM for a quit event that nobody reads, and the
    // program could no longer be stopped by them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Spindeck");
    const QuietAlsa quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        this->report(std::string("no sound: ") + SDL_GetError());
        return;
    }
    m_subsystem = true;
    if (Mix_OpenAudio(kFrequency, AUDIO_S16SYS, kChannels, kChunkFrames) != 0) {
        this->report(std::string("no sound: ") + Mix_GetError());
        return;
    }
    m_open = true;
    // MIDI needs a SoundFont; SDL_mixer's own guess does not include Debian's default one.
    // SDL_SOUNDFONTS in the environment still wins.
    if (Mix_GetSoundFonts() == nullptr && std::filesystem::exists(kSoundFont)) {
        Mix_SetSoundFonts(kSoundFont);
    }
    (void)Mix_Init(MIX_INIT_MID);
}

SdlAudio::~SdlAudio() {
    if (m_open) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        Mix_CloseAudio();
        Mix_Quit();
    }
    if (m_subsystem) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

int SdlAudio::deviceCount() const {
    if (!m_open) {
        return 0;
    }
    return std::max(1, SDL_GetNumAudioDevices(0));
}

void SdlAudio::report(const std::string& line) const {
    if (m_report) {
        m_report(line);
    }
}

Expected<std::filesystem::path, std::string> playableFile(const DosFileSystem& files, const std::string& dosPath) {
    auto resolved = files.resolve(dosPath);
    if (!resolved) {
        return Unexpected{resolved.error().message()};
    }
    std::error_code error;
    const auto status = std::filesystem::status(*resolved, error);
    if (error) {
        return Unexpected{dosPath + ": " + error.message()};
    }
    if (std::filesystem::is_directory(status)) {
        return Unexpected{dosPath + ": is a directory"};
    }
    if (!std::filesystem::is_regular_file(status)) {
        return Unexpected{dosPath + ": not a regular file"};
    }
    return *resolved;
}

} // namespace spindeck::platform::audio
