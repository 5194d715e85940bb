#pragma once

// The keyboard's drive commands: Ctrl with a letter moves a directory list to that drive's root,
// Enter opens the highlighted directory. Three families of controls handle them, each in its own
// way: the main window's description boxes, its directory list, and the install window's lists.
// The handlers never swallow a key: the control receives it as usual.

#include "config/sharedsettings.h"
#include "platform/dosfs.h"
#include "ui/designs.h"
#include "ui/services.h"

#include <QObject>

namespace spindeck::keys {

class DriveKeys final : public QObject {
    Q_OBJECT
public:
    DriveKeys(ui::Services& services, QObject* parent);

    // Watches the main window's description boxes and directory list.
    void watchMainWindow(ui::MainDesign& main);
    // Watches the install window's drive and directory lists.
    void watchInstallWindow(ui::InstallDesign& install);

    void descriptionBoxKey(ui::MainDesign& main, int code);
    void mainDirectoryKeyDown(int shift);
    void mainDirectoryKey(ui::MainDesign& main, int code);
    void installKey(ui::InstallDesign& install, int code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Moves a list, showing the device-unavailable message when its drive is not ready; false when
    // the list could not be moved.
    bool moveList(ui::DirListBox& list, const QString& dosPath);
    bool openHighlighted(ui::DirListBox& list);

    ui::Services& m_services;
    ui::MainDesign* m_main = nullptr;
    ui::InstallDesign* m_install = nullptr;
};

} // namespace spindeck::keys
