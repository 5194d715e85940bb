#include "drivekeys.h"

#include "keycodes.h"
#include "ui/services.h"

namespace spindeck::keys {

namespace {

constexpr int kEnter = 13;

QString rootOf(int code) {
    return QString(QChar('A' + code - 1)) + ":\\";
}

bool isDriveLetterFromC(int code) {
    return code >= 3 && code <= 26;
}

} // namespace

DriveKeys::DriveKeys(ui::Services& services, QObject* parent) : QObject(parent), m_services(services) {}

void DriveKeys::watchMainWindow(ui::MainDesign& main) {
    m_main = &main;
    for (QWidget* control : {static_cast<QWidget*>(main.txtDiz), static_cast<QWidget*>(main.txtSpInfo),
                             static_cast<QWidget*>(main.dirListBox)}) {
        control->installEventFilter(this);
    }
}

void DriveKeys::watchInstallWindow(ui::InstallDesign& install) {
    m_install = &install;
    install.InstDrvList->installEventFilter(this);
    install.InstDirBox->installEventFilter(this);
}

bool DriveKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const int code = characterCode(key);
    if (m_main != nullptr && watched == m_main->dirListBox) {
        mainDirectoryKeyDown(shiftState(key.modifiers()));
        if (code != 0) {
            mainDirectoryKey(*m_main, code);
        }
    } else if (m_main != nullptr && (watched == m_main->txtDiz || watched == m_main->txtSpInfo)) {
        if (code != 0) {
            descriptionBoxKey(*m_main, code);
        }
    } else if (m_install != nullptr && code != 0) {
        installKey(*m_install, code);
    }
    return false;
}

bool DriveKeys::moveList(ui::DirListBox& list, const QString& dosPath) {
    const auto moved = list.setPath(dosPath);
    if (!moved && moved.error().number == ui::ListError::deviceUnavailable().number) {
        m_services.toolkit.messageBox(moved.error().description);
    }
    return moved.has_value();
}

bool DriveKeys::openHighlighted(ui::DirListBox& list) {
    const QString path = list.list(list.listIndex());
    (void)m_services.files.changeDirectory(path.toStdString());
    return moveList(list, path);
}

void DriveKeys::descriptionBoxKey(ui::MainDesign& main, int code) {
    if (code >= 1 && code <= 26 && code <= main.drvList->listCount()) {
        moveList(*main.dirListBox, rootOf(code));
    }
}

void DriveKeys::mainDirectoryKeyDown(int shift) {
    m_services.settings.gCtrlDown = shift == 2;
}

void DriveKeys::mainDirectoryKey(ui::MainDesign& main, int code) {
    if (code == kEnter && !m_services.settings.gCtrlDown) {
        openHighlighted(*main.dirListBox);
        return;
    }
    if (!isDriveLetterFromC(code)) {
        return;
    }
    if (code - 1 <= main.drvList->listCount() && !moveList(*main.dirListBox, rootOf(code))) {
        return;
    }
    (void)main.drvList->setDrive(main.dirListBox->path().left(1));
}

void DriveKeys::installKey(ui::InstallDesign& install, int code) {
    if (code == kEnter) {
        openHighlighted(*install.InstDirBox);
    }
    if (!isDriveLetterFromC(code)) {
        return;
    }
    if (code - 1 <= install.InstDrvList->listCount()) {
        moveList(*install.InstDirBox, rootOf(code));
    }
    (void)install.InstDrvList->setDrive(install.InstDirBox->path().left(1));
}

} // namespace spindeck::keys
