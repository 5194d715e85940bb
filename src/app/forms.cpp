#include "forms.h"

#include "install/installform.h"
#include "mainform.h"
#include "splashform.h"

namespace spindeck::app {

Forms::Forms(ui::Services& services)
    : splash([this, &services] { return std::make_unique<SplashForm>(services, *this); }),
      main([this, &services] { return std::make_unique<MainForm>(services, *this); }),
      install([this, &services] { return std::make_unique<install::InstallForm>(services, installLinks()); }) {}

// The main window is asked for only while it exists: the install window outlives it briefly when
// the program ends.
install::InstallForm::Links Forms::installLinks() {
    return {.showMainWindow =
                [this] {
                    if (main.loaded()) {
                        main.get().show();
                    }
                },
            .setConfirmMark =
                [this](bool on) {
                    if (main.loaded()) {
                        main.get().mnuConfirm->setChecked(on);
                    }
                },
            .discard = [this] { install.unload(); }};
}

Forms::~Forms() = default;

} // namespace spindeck::app
