#pragma once

// What the windows are handed: the platform services and the settings shared for the run.

#include "config/sharedsettings.h"
#include "platform/batchrunner.h"
#include "platform/dosfs.h"
#include "platform/sound.h"
#include "toolkit.h"

#include <string>

namespace spindeck::ui {

struct Services {
    platform::DosFileSystem& files;
    platform::CuePlayer& cues;
    platform::MusicControl& music;
    platform::BatchRunner& shell; // runs the install batch file and waits for it
    ui::Toolkit& toolkit;
    config::SharedSettings& settings;
    // "D:\SPINDECK", or "D:\" at a drive root.
    std::string programDirectory;

    // A file of the program's own: the program directory, "\", and the name.
    [[nodiscard]] std::string programFile(const std::string& name) const { return programDirectory + "\\" + name; }
};

} // namespace spindeck::ui
