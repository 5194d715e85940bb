#pragma once

// Selecting a directory in the main window's directory list: the sound cue for the description
// files found there, QRV.TXT's description lines and install name, FILE_ID.DIZ's text, and the
// Install button. Both boxes show their bytes as a DOS screen would (code page 437).

#include "ui/designs.h"
#include "ui/services.h"

#include <functional>

namespace spindeck::browse {

class DirectorySelection final {
public:
    using InstallTitleSetter = std::function<void(const QString& name)>;

    DirectorySelection(ui::MainDesign& main, ui::Services& services, InstallTitleSetter setInstallTitle);

    // The Click handler of the directory list; the main window's set-up runs it once too.
    void select();

private:
    void playFoundCue(bool diz, bool qrv);
    void showDescription(const std::string& directory);
    void showDiz(const std::string& directory);

    ui::MainDesign& m_main;
    ui::Services& m_services;
    InstallTitleSetter m_setInstallTitle;
};

} // namespace spindeck::browse
