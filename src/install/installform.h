#pragma once

// frmInstall: the install window, where the user picks the target of an installation.

#include "ui/designs.h"
#include "ui/services.h"

namespace spindeck::install {

class InstallForm final : public ui::InstallDesign {
    Q_OBJECT
public:
    explicit InstallForm(ui::Services& services);

    // The window's set-up, run when it is first referred to.
    void load();
    void unload() {}

private:
    ui::Services& m_services;
};

} // namespace spindeck::install
