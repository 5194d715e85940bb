#pragma once

// The program's windows, each built at its first reference (see ui/formslot.h).

#include "batchedit/batcheditor.h"
#include "install/installform.h"
#include "ui/formslot.h"
#include "ui/services.h"

namespace spindeck::app {

class MainForm;
class SplashForm;

class Forms final {
public:
    explicit Forms(ui::Services& services);
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    ui::FormSlot<SplashForm> splash;
    ui::FormSlot<MainForm> main;
    ui::FormSlot<install::InstallForm> install;
    ui::FormSlot<batchedit::BatchEditor> batchEditor;

private:
    install::InstallForm::Links installLinks();
    batchedit::BatchEditor::Links batchEditorLinks();
    void showMainWindow();
    void exitAfterInstallation();
};

} // namespace spindeck::app
