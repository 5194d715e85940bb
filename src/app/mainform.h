#pragma once

// frmQRV: the main window. Its set-up runs once, nested in the splash window's activation: it
// prepares the window, decides the sound flag, writes the default configuration file or applies
// the configuration to both windows and the shared settings, then starts the start-up cue and the
// music, shows itself and removes the splash window.

#include "browse/directoryselection.h"
#include "forms.h"
#include "media/music.h"
#include "ui/designs.h"

#include <functional>

namespace spindeck::app {

class MainForm final : public ui::MainDesign {
    Q_OBJECT
public:
    MainForm(ui::Services& services, Forms& forms);

    void load();
    // Closing the main window: the install window goes too; no cue and no music command.
    void unload();

    // Exit button and File, Exit: the music stops, the exit cue plays to its end, the program ends.
    void exitProgram();
    // The Install button: the main window gives way to the install window.
    void openInstallWindow();
    // Options, Confirm Installation: the mark and the install window's box switch together.
    void toggleConfirmation();
    // After an installation, when the user asked to leave: the windows go, the exit cue plays to
    // its end, the program ends. The music is not stopped first, as Exit would.
    void exitAfterInstallation();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void configure(const std::string& configPath, const std::string& foundName);
    // Qt sets a checkable item's check mark before its handler runs; the handlers see it as it was.
    void onMenuToggle(QAction* item, std::function<void()> handler);
    void showHelp(const std::string& text, const QString& caption = {});

    ui::Services& m_services;
    Forms& m_forms;
    browse::DirectorySelection m_selection;
    media::Music m_music;
    bool m_activated = false;
};

} // namespace spindeck::app
