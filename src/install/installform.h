#pragma once

// frmInstall: the install window, where the user picks the target of an installation: the drive
// with its free space, the directory (the install path always ends in a backslash), folder
// creation, and the confirmation options.

#include "freespace.h"
#include "ui/designs.h"
#include "ui/services.h"

#include <functional>

namespace spindeck::install {

class InstallForm final : public ui::InstallDesign {
    Q_OBJECT
public:
    // What the window does to the rest of the program, given by the one who builds it.
    struct Links {
        std::function<void()> showMainWindow;
        std::function<void(bool)> setConfirmMark; // the main window's "Confirm Installation" item
        std::function<bool()> confirmMark;
        std::function<QString()> sourceDirectory; // the directory the main window's list shows
        std::function<void()> openBatchEditor;
        std::function<void()> exitProgram; // the exit sequence after an installation
        std::function<void()> discard;     // unloads this window
    };

    InstallForm(ui::Services& services, Links links);

    // The window's set-up, run when it is first referred to.
    void load();
    void unload() {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    // "&Install Now": the install section of the source directory's QRV.TXT becomes the batch file
    // "c:\qrv.bat", which runs; then the user is asked whether it worked.
    void installNow();

private:
    [[nodiscard]] bool mayInstallOnTargetDrive();
    [[nodiscard]] bool writeBatchFile(const QString& sourceDirectory);
    void finishInstallation();
    void followDriveList();
    void createFolder();
    void returnToMainWindow();
    // Moves the directory list; the device-unavailable error is reported, any other failure not.
    bool moveDirectoryList(const QString& dosPath);
    void showFreeSpace(FreeSpacePattern pattern);
    void setInstallPath(const QString& directory);

    ui::Services& m_services;
    Links m_links;
};

} // namespace spindeck::install
