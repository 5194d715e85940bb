#pragma once

// frmInstHelp: the batch editor, opened when an installation did not work. The author's QRV.TXT
// is shown read-only above, the batch file "c:\qrv.bat" editable below; the user fixes the batch
// file and runs it again, then leaves, which deletes it.

#include "ui/designs.h"
#include "ui/services.h"

#include <functional>

namespace spindeck::batchedit {

class BatchEditor final : public ui::BatchEditorDesign {
    Q_OBJECT
public:
    struct Links {
        std::function<void()> showMainWindow;
        std::function<bool()> exitAfterInstallation; // the install window's "Exit Spindeck" option
        std::function<void()> exitProgram;           // the exit sequence after an installation
        std::function<void()> discard;               // unloads this window
    };

    BatchEditor(ui::Services& services, Links links);

    // Centres the window and reads both files afresh.
    void load();
    void unload() {}

    // "E&xecute Revised Batch File": the box's text replaces the batch file, which is run.
    void executeRevision();
    // "E&xit": the batch file is deleted and the user returns to the main window, or the program
    // ends when the install window says so.
    void leave();

protected:
    // The title bar's close acts as Exit, so the program never stands without a window.
    void closeEvent(QCloseEvent* event) override;

private:
    void showFile(QPlainTextEdit& box, const std::string& dosPath, bool reportTruncation);

    ui::Services& m_services;
    Links m_links;
    bool m_leaving = false;
};

} // namespace spindeck::batchedit
