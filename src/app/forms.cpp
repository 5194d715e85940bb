#include "forms.h"

#include "install/installform.h"
#include "mainform.h"
#include "splashform.h"

namespace spindeck::app {

Forms::Forms(ui::Services& services)
    : splash([this, &services] { return std::make_unique<SplashForm>(services, *this); }),
      main([this, &services] { return std::make_unique<MainForm>(services, *this); }),
      install([this, &services] { return std::make_unique<install::InstallForm>(services, installLinks()); }),
      batchEditor(
          [this, &services] { return std::make_unique<batchedit::BatchEditor>(services, batchEditorLinks()); }) {}

Forms::~Forms() = default;

// The main window is asked for only while it exists: the other windows outlive it briefly when
// the program ends.
void Forms::showMainWindow() {
    if (main.loaded()) {
        main.get().show();
    }
}

void Forms::exitAfterInstallation() {
    if (main.loaded()) {
        main.get().exitAfterInstallation();
    }
}

install::InstallForm::Links Forms::installLinks() {
    return {.showMainWindow = [this] { showMainWindow(); },
            .setConfirmMark =
                [this](bool on) {
                    if (main.loaded()) {
                        main.get().mnuConfirm->setChecked(on);
                    }
                },
            .confirmMark = [this] { return main.loaded() && main.get().mnuConfirm->isChecked(); },
            .sourceDirectory =
                [this] {
                    const auto& list = *main.get().dirListBox;
                    return list.list(list.listIndex());
                },
            .openBatchEditor = [this] { batchEditor.get().show(); },
            .exitProgram = [this] { exitAfterInstallation(); },
            .discard = [this] { install.unload(); }};
}

batchedit::BatchEditor::Links Forms::batchEditorLinks() {
    return {.showMainWindow = [this] { showMainWindow(); },
            .exitAfterInstallation = [this] { return install.get().chkExitQRV->isChecked(); },
            .exitProgram = [this] { exitAfterInstallation(); },
            .discard = [this] { batchEditor.unload(); }};
}

} // namespace spindeck::app
