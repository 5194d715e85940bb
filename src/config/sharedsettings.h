#pragma once

// The settings and flags that live for the whole run, shared by the windows. One instance is
// made at start and handed to every window that needs it.

#include <string>

namespace spindeck::config {

struct SharedSettings {
    bool gSoundOn = false;
    bool gMainLoaded = false;
    std::string gMidiFile;
    // Cue file names, relative to the program directory.
    std::string mStartUp;
    std::string mExit;
    std::string mInstall;
    std::string mFoundDiz;
    std::string mFoundQRVTXT;
    std::string mFoundDizNQRV;
    std::string gSelectedDir;
    std::string gInstallName;
    bool gCtrlDown = false;
};

} // namespace spindeck::config
