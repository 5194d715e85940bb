// Spindeck's entry point: wires the real platform into the windows and starts them.

#include "forms.h"
#include "platform/silentaudio.h"
#include "splashform.h"
#include "ui/designs.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
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
    spindeck::platform::SilentCuePlayer cues;
    spindeck::platform::SilentMusicControl music;
    spindeck::ui::QtToolkit toolkit;
    spindeck::config::SharedSettings settings;
    spindeck::ui::Services services{files, cues, music, toolkit, settings, *programDirectory};

    spindeck::app::Forms forms(services);
    spindeck::app::startUp(forms, services);
    return QApplication::exec();
}
