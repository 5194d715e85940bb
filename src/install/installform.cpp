#include "installform.h"

#include "keys/drivekeys.h"
#include "ui/windows.h"

namespace spindeck::install {

InstallForm::InstallForm(ui::Services& services) : ui::InstallDesign(services.files), m_services(services) {
    (new keys::DriveKeys(services, this))->watchInstallWindow(*this);
}

void InstallForm::load() {
    setWindowTitle(windowTitle() + ui::kVersion);
    ui::centreOnScreen(*this);
}

} // namespace spindeck::install
