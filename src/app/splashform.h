#pragma once

// frmSplash: shown while the main window is set up. Its activation loads the main window, whose
// set-up removes the splash before the activation handler returns.

#include "forms.h"
#include "ui/designs.h"

namespace spindeck::app {

class SplashForm final : public ui::SplashDesign {
    Q_OBJECT
public:
    SplashForm(ui::Services& services, Forms& forms);

    void load();
    void unload() {}

protected:
    void showEvent(QShowEvent* event) override;

private:
    void activate();

    ui::Services& m_services;
    Forms& m_forms;
    bool m_activated = false;
};

// The splash's configured picture, when the configuration file names one.
void prepareSplash(Forms& forms, ui::Services& services);
// The program's start: the splash prepared and shown; its activation runs the rest.
void startUp(Forms& forms, ui::Services& services);

} // namespace spindeck::app
