#pragma once

// The four windows as designed: captions, client sizes, every control with its place, size,
// colours, font, focus order and first state, and the main window's menu bar. Nothing here
// reacts to anything; the window code in app/, browse/, install/ and batchedit/ gives the
// controls their behaviour. The control names are the ones that code uses.

#include "controls.h"
#include "dirlistbox.h"
#include "drivelistbox.h"
#include "oemtextbox.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>

namespace spindeck::ui {

inline constexpr const char* kProgramTitle = "Spindeck";
inline constexpr const char* kVersion = "1.0";

// frmSplash: no title bar; the configuration may give it a background picture.
class SplashDesign : public QWidget {
    Q_OBJECT
public:
    SplashDesign();
    void setBackgroundPicture(const QPixmap& picture);
    [[nodiscard]] const QPixmap& backgroundPicture() const { return m_background; }

    Image* imgLogo;
    Label* lblVersion;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_background;
};

// frmQRV: the main window, created hidden.
class MainDesign : public QMainWindow {
    Q_OBJECT
public:
    explicit MainDesign(platform::DosFileSystem& files);
    // The client area, which holds every control (the menu bar stands above it).
    [[nodiscard]] QWidget* client() const { return m_client; }

    QGroupBox* frmDriveList;
    DriveListBox* drvList;
    QGroupBox* frmDirBox;
    DirListBox* dirListBox;
    QPushButton* cmdInstall;
    QGroupBox* frmSpInfo;
    OemTextBox* txtSpInfo;
    QGroupBox* frmDiz;
    OemTextBox* txtDiz;
    QPushButton* cmdExit;
    Label* lblTitle;
    Image* imgLogo;

    QAction* mnuCopy;
    QAction* mnuExit;
    QAction* mnuMusicOn;
    QAction* mnuSoundOn;
    QAction* mnuConfirm;
    QAction* mnuCommands;
    QAction* mnuConfig;
    QAction* mnuAbout;

private:
    QWidget* m_client;
};

// frmInstall: the install window.
class InstallDesign : public QWidget {
    Q_OBJECT
public:
    explicit InstallDesign(platform::DosFileSystem& files);

    QGroupBox* Frame1;
    QCheckBox* chkExitQRV;
    QCheckBox* chkConfirm;
    Label* Label2;
    Label* Label1;
    QPushButton* cmdCancel;
    QPushButton* cmdCreateDir;
    QGroupBox* frmMkDir;
    QLineEdit* txtMkDir;
    QPushButton* cmdInstallNow;
    QGroupBox* frmDiskFree;
    QTextEdit* txtDiskFree;
    QGroupBox* frmOptInst;
    QLineEdit* txtOptInst;
    QGroupBox* frmInstDrive;
    DriveListBox* InstDrvList;
    QGroupBox* frmInstDir;
    DirListBox* InstDirBox;
    Label* lblInstTitle;
    Image* imgInstLogo;
};

// frmInstHelp: the batch editor, with the platform's ordinary resizable border.
class BatchEditorDesign : public QWidget {
    Q_OBJECT
public:
    BatchEditorDesign();

    QPushButton* cmdCancel;
    QPushButton* cmdExec;
    QGroupBox* frmQRVBAT;
    QPlainTextEdit* txtQRVBAT;
    QGroupBox* frmQRVTXT;
    QPlainTextEdit* txtQRVTXT;
    Label* lblQRVBATInfo;
    Label* lblQRVTXTInfo;
};

// Face names the designs use, mapped to faces fontconfig has when the designed ones are missing.
void registerFontSubstitutes();

} // namespace spindeck::ui
