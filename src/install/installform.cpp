#include "installform.h"

#include "foldercreation.h"
#include "keys/drivekeys.h"
#include "platform/codepage.h"
#include "script/batchfile.h"
#include "script/substitutetags.h"
#include "ui/windows.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLocale>

namespace spindeck::install {

InstallForm::InstallForm(ui::Services& services, Links links)
    : ui::InstallDesign(services.files), m_services(services), m_links(std::move(links)) {
    (new keys::DriveKeys(services, this))->watchInstallWindow(*this);
    txtMkDir->installEventFilter(this);
    connect(InstDrvList, &ui::DriveListBox::changed, this, &InstallForm::followDriveList);
    connect(InstDirBox, &ui::DirListBox::changed, this, [this] { setInstallPath(InstDirBox->path()); });
    connect(InstDirBox, &ui::DirListBox::clicked, this,
            [this] { setInstallPath(InstDirBox->list(InstDirBox->listIndex())); });
    connect(cmdCreateDir, &QPushButton::clicked, this, &InstallForm::createFolder);
    connect(cmdCancel, &QPushButton::clicked, this, &InstallForm::returnToMainWindow);
    connect(cmdInstallNow, &QPushButton::clicked, this, &InstallForm::installNow);
    connect(chkConfirm, &QCheckBox::toggled, this, [this](bool checked) { m_links.setConfirmMark(checked); });
}

void InstallForm::load() {
    setWindowTitle(windowTitle() + ui::kVersion);
    showFreeSpace(FreeSpacePattern::SetUp);
    ui::centreOnScreen(*this);
    lblInstTitle->setText(QString::fromStdU16String(platform::ansiText(m_services.settings.gInstallName)));
    setInstallPath(InstDirBox->path());
    // The drive's root; the install path follows through the directory list's change.
    (void)InstDirBox->setPath(InstDirBox->list(InstDirBox->listIndex()).left(3));
}

// A typed character that cannot stand in a file name is dropped as if Backspace followed it: a
// selection it would have replaced is deleted all the same.
bool InstallForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtMkDir && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1 && isRefusedInFolderName(text.front().unicode())) {
            txtMkDir->del();
            return true;
        }
    }
    return ui::InstallDesign::eventFilter(watched, event);
}

// The close control acts as Cancel Install, then the window is discarded.
void InstallForm::closeEvent(QCloseEvent* event) {
    event->accept();
    returnToMainWindow();
    m_links.discard();
}

void InstallForm::returnToMainWindow() {
    hide();
    m_links.showMainWindow();
}

void InstallForm::followDriveList() {
    const QString drive = InstDrvList->drive().left(2);
    if (!moveDirectoryList(drive + "\\")) {
        return;
    }
    showFreeSpace(FreeSpacePattern::DriveChange);
    // "d:" names the drive's current directory.
    if (!moveDirectoryList(drive)) {
        return;
    }
    setInstallPath(InstDirBox->path());
}

bool InstallForm::moveDirectoryList(const QString& dosPath) {
    const auto moved = InstDirBox->setPath(dosPath);
    if (!moved && moved.error().number == ui::ListError::deviceUnavailable().number) {
        m_services.toolkit.messageBox(moved.error().description);
    }
    return moved.has_value();
}

void InstallForm::showFreeSpace(FreeSpacePattern pattern) {
    const QString drive = InstDrvList->drive();
    const auto space = m_services.files.GetDiskFreeSpaceA((drive.left(2).toUpper() + "\\").toStdString());
    const std::string line = freeSpaceLine(drive.toStdString(), space ? space->freeBytes() : 0, pattern,
                                           QLocale().decimalPoint().toStdString());
    txtDiskFree->setPlainText(QString::fromStdString(line));
    txtDiskFree->setAlignment(Qt::AlignCenter);
}

void InstallForm::setInstallPath(const QString& directory) {
    txtOptInst->setText(directory.endsWith('\\') ? directory : directory + '\\');
}

void InstallForm::createFolder() {
    const std::string text = txtMkDir->text().toStdString();
    if (text.empty()) {
        return;
    }
    const FolderEntry entry = parseFolderEntry(text);
    std::string parent = InstDirBox->list(InstDirBox->listIndex()).toStdString();
    if (entry.drive != 0) {
        const char letter = QChar(entry.drive).toUpper().toLatin1();
        const QString drive = QString(QChar(letter)) + ":";
        if (auto chosen = InstDrvList->setDrive(drive); !chosen) {
            m_services.toolkit.messageBox(
                "Cannot create the folder " + QString::fromStdString(text) + ": drive " + drive + " is " +
                (m_services.files.driveMap().drive(letter) != nullptr ? "not ready" : "unknown"));
            return;
        }
        parent = drive.toStdString() + "\\";
        (void)m_services.files.setCurrentDrive(letter);
        (void)m_services.files.changeDirectory(parent);
    }
    const auto deepest = createFolders(m_services.files, parent, entry.names);
    InstDirBox->refresh();
    if (!deepest) {
        m_services.toolkit.messageBox(QString::fromStdString(deepest.error().message));
        return;
    }
    (void)m_services.files.changeDirectory(*deepest);
    (void)InstDirBox->setPath(QString::fromStdString(*deepest));
    InstDirBox->refresh();
    setInstallPath(InstDirBox->path());
    txtMkDir->clear();
}

void InstallForm::installNow() {
    if (!mayInstallOnTargetDrive()) {
        return;
    }
    QString source = m_links.sourceDirectory();
    if (!source.endsWith('\\')) {
        source += '\\';
    }
    m_services.toolkit.setScreenPointer(ui::Toolkit::kHourglass);
    const bool written = writeBatchFile(source);
    if (written) {
        m_services.shell.SyncShell("c:\\qrv.bat", platform::BatchRunner::kNormalWindow);
    }
    m_services.toolkit.setScreenPointer(ui::Toolkit::kDefault);
    if (written) {
        finishInstallation();
    }
}

// Asked with the drive's root: fixed, removable, remote and RAM drives may receive a program; a
// CD-ROM cannot, and neither can a drive that is not ready or not mapped.
bool InstallForm::mayInstallOnTargetDrive() {
    const int kind = m_services.files.GetDriveTypeA((InstDrvList->drive().left(2) + "\\").toStdString());
    if (kind == static_cast<int>(platform::DriveKind::CdRom)) {
        m_services.toolkit.messageBox("Cannot Install Program on CD-ROM");
        return false;
    }
    if (kind <= 1) {
        m_services.toolkit.messageBox("Cannot Install Program on Selected Device");
        return false;
    }
    return true;
}

// Nothing is written when QRV.TXT has no script; a QRV.TXT that cannot be read or a batch file that
// cannot be written is reported with the file and the reason.
bool InstallForm::writeBatchFile(const QString& sourceDirectory) {
    const std::string qrvTxt = sourceDirectory.toStdString() + "QRV.TXT";
    const auto bytes = m_services.files.readFile(qrvTxt);
    if (!bytes) {
        m_services.toolkit.messageBox("Cannot read " + QString::fromStdString(bytes.error().message()));
        return false;
    }
    const auto script = script::installScript(*bytes);
    if (!script) {
        return false;
    }
    const std::string installPath = txtOptInst->text().toStdString();
    const std::string batch =
        script::batchFileBytes(m_services.settings.gSelectedDir, *script, [&](std::string_view line) {
            return script::SubstituteTags(line, installPath, m_services.files);
        });
    if (auto stored = m_services.files.writeFile(script::kBatchFile, batch); !stored) {
        m_services.toolkit.messageBox("Cannot write " + QString::fromStdString(stored.error().message()));
        return false;
    }
    return true;
}

// The query when the menu asks for confirmation, the direct finish when the box does not; while
// the two agree only one of them applies.
void InstallForm::finishInstallation() {
    if (m_links.confirmMark()) {
        const QString name = QString::fromStdU16String(platform::ansiText(m_services.settings.gInstallName));
        const int answer = m_services.toolkit.messageBox("Did " + name + " install correctly?", ui::Toolkit::kYesNo,
                                                         "Install Query...");
        if (answer == ui::Toolkit::kAnswerYes) {
            (void)m_services.files.removeFile(script::kBatchFile);
            if (chkExitQRV->isChecked()) {
                m_links.exitProgram();
                return;
            }
            returnToMainWindow();
        } else {
            m_links.openBatchEditor();
            hide();
        }
    }
    if (!chkConfirm->isChecked()) {
        (void)m_services.files.removeFile(script::kBatchFile);
        returnToMainWindow();
        if (chkExitQRV->isChecked()) {
            m_links.exitProgram();
        }
    }
}

} // namespace spindeck::install
