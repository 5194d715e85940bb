// Spindeck's entry point: wires the real platform into the windows and starts them.

#include "forms.h"
#include "platform/audio/sdlsound.h"
#include "platform/console/consolerunner.h"
#include "splashform.h"
#include "ui/designs.h"

#include <QApplication>
#include <cstdio>
#include <future>

int main(int argc, char** argv) {
    // Opening the sound device takes a while (and fails slowly where there is none); it goes on
    // beside the toolkit's start instead of after it.
    auto openingAudio =
        std::async(std::launch::async, [] { return std::make_shared<spindeck::platform::audio::SdlAudio>(); });
    QApplication application(argc, argv);
    QApplication::setApplicationName(spindeck::ui::kProgramTitle);
    spindeck::ui::registerFontSubstitutes();

    auto loaded = spindeck::platform::loadDriveMap();
    if (loaded.problem) {
        std::fprintf(stderr, "spindeck: %s\n", loaded.problem->c_str());
    }
    spindeck::platform::DriveMap map(std::move(loaded.drives));
    const auto programDirectory = spindeck::platform::programDirectory(map);
    if (!programDirectory) {
        std::fprintf(stderr, "spindeck: no drive of the drive map holds the program's directory\n");
        return 1;
    }
    spindeck::platform::DosFileSystem files(std::move(map), *programDirectory);
    const auto audio = openingAudio.get();
    spindeck::platform::audio::SdlCuePlayer cues(audio, files);
    spindeck::platform::audio::SdlMusicControl music(audio, files);
    spindeck::ui::QtToolkit toolkit;
    spindeck::config::SharedSettings settings;
    spindeck::platform::ConsoleBatchRunner shell(files);
    spindeck::ui::Services services{files, cues, music, shell, toolkit, settings, *programDirectory};

    spindeck::app::Forms forms(services);
    spindeck::app::startUp(forms, services);
    return QApplication::exec();
}
