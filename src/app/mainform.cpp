#include "mainform.h"

#include "browse/drivechange.h"
#include "config/defaultfile.h"
#include "config/inifile.h"
#include "config/settings.h"
#include "help/helptexts.h"
#include "install/installform.h"
#include "keys/drivekeys.h"
#include "settingsapply.h"
#include "splashform.h"
#include "ui/windows.h"

#include <QCloseEvent>
#include <cstdio>
#include <ctime>

namespace spindeck::app {

namespace {

constexpr int kCdRom = 5;

std::string upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// The start-up benchmark sets SPINDECK_TIMING to learn when the main window is shown and when it
// is first drawn.
void reportTiming(const char* moment) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "spindeck-timing %s %lld\n", moment,
                 static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
}

class FirstPaintReporter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            reportTiming("painted");
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

void reportShownForTiming(QWidget& window) {
    if (qEnvironmentVariableIsSet("SPINDECK_TIMING")) {
        reportTiming("shown");
        window.installEventFilter(new FirstPaintReporter(&window));
    }
}

} // namespace

MainForm::MainForm(ui::Services& services, Forms& forms)
    : ui::MainDesign(services.files), m_services(services), m_forms(forms),
      m_selection(*this, services, [&forms](const QString& name) { forms.install.get().lblInstTitle->setText(name); }),
      m_music(services, *mnuMusicOn) {
    connect(dirListBox, &ui::DirListBox::clicked, this, [this] { m_selection.select(); });
    (new keys::DriveKeys(services, this))->watchMainWindow(*this);
    onMenuToggle(mnuMusicOn, [this] { m_music.toggle(); });
    onMenuToggle(mnuSoundOn, [this] { media::toggleSound(m_services, *mnuSoundOn); });
    onMenuToggle(mnuConfirm, [this] { toggleConfirmation(); });
    connect(drvList, &ui::DriveListBox::changed, this, [this] { browse::followDriveList(*this, m_services.toolkit); });
    connect(cmdInstall, &QPushButton::clicked, this, &MainForm::openInstallWindow);
    connect(mnuCommands, &QAction::triggered, this, [this] { showHelp(help::commandsText()); });
    connect(mnuConfig, &QAction::triggered, this,
            [this] { showHelp(help::configuringText(), help::kConfiguringCaption); });
    connect(mnuAbout, &QAction::triggered, this, [this] { showHelp(help::aboutText()); });
    connect(cmdExit, &QPushButton::clicked, this, &MainForm::exitProgram);
    connect(mnuExit, &QAction::triggered, this, &MainForm::exitProgram);
}

void MainForm::load() {
    auto& settings = m_services.settings;
    const std::string& programDirectory = m_services.programDirectory;

    setWindowTitle(windowTitle() + ui::kVersion);
    const std::string configPath = config::configPath(programDirectory);
    settings.gMainLoaded = false;
    settings.gSoundOn = m_services.cues.waveOutGetNumDevs() > 0;
    ui::centreOnScreen(*this);
    (void)dirListBox->setPath(QString::fromStdString(programDirectory.substr(0, 3)));
    const std::string foundName = m_services.files.findName(programDirectory, config::kConfigFileName);
    m_selection.select();
    m_services.toolkit.setScreenPointer(ui::Toolkit::kArrowHourglass);
    configure(configPath, foundName);
    if (settings.gSoundOn) {
        m_services.cues.sndPlaySoundA(m_services.programFile(settings.mStartUp), platform::CuePlayer::kAsync);
    }
    m_music.start();
    settings.gMainLoaded = true;
    m_services.toolkit.setScreenPointer(ui::Toolkit::kDefault);
    show();
    reportShownForTiming(*client());
    m_forms.splash.unload();
    settings.gSelectedDir = dirListBox->path().toStdString();
}

// Writes the default file on a first start, applies the file on every later one; on a CD-ROM
// without a file, does neither.
void MainForm::configure(const std::string& configPath, const std::string& foundName) {
    const std::string& programDirectory = m_services.programDirectory;
    const bool found = upper(foundName) == config::kConfigFileName;
    const std::string driveRoot = programDirectory.substr(0, 1) + ":\\";
    if (!found && m_services.files.GetDriveTypeA(driveRoot) != kCdRom) {
        if (auto written = m_services.files.writeFile(configPath, config::defaultFileBytes()); !written) {
            m_services.toolkit.reportProblem("cannot write the default configuration file " +
                                             QString::fromStdString(written.error().message()));
        }
        return;
    }
    if (!found) {
        return;
    }
    const auto bytes = m_services.files.readFile(configPath);
    if (!bytes) {
        m_services.toolkit.reportProblem("cannot read the configuration file " +
                                         QString::fromStdString(bytes.error().message()));
        return;
    }
    const auto ini = config::IniDocument::fromBytes(*bytes);
    applySettings(config::settingsPass(ini, programDirectory), *this, m_forms, m_services);
}

void MainForm::onMenuToggle(QAction* item, std::function<void()> handler) {
    connect(item, &QAction::triggered, this, [item, handler = std::move(handler)](bool nowChecked) {
        item->setChecked(!nowChecked);
        handler();
    });
}

// The install window's box follows the mark; its own handler then sets the mark it already has.
void MainForm::toggleConfirmation() {
    const bool on = !mnuConfirm->isChecked();
    mnuConfirm->setChecked(on);
    m_forms.install.get().chkConfirm->setChecked(on);
}

void MainForm::exitProgram() {
    m_music.stopForExit();
    if (m_services.settings.gSoundOn) {
        m_services.cues.sndPlaySoundA(m_services.programFile(m_services.settings.mExit), platform::CuePlayer::kWait);
    }
    m_services.toolkit.endProgram();
}

void MainForm::openInstallWindow() {
    hide();
    m_forms.install.get().show();
}

void MainForm::exitAfterInstallation() {
    if (m_forms.install.loaded()) {
        m_forms.install.get().hide();
    }
    if (m_forms.batchEditor.loaded()) {
        m_forms.batchEditor.get().hide();
    }
    if (m_services.settings.gSoundOn) {
        m_services.cues.sndPlaySoundA(m_services.programFile(m_services.settings.mExit), platform::CuePlayer::kWait);
    }
    hide();
    m_services.toolkit.endProgram();
}

void MainForm::showHelp(const std::string& text, const QString& caption) {
    m_services.toolkit.messageBox(QString::fromStdString(text), ui::Toolkit::kOk, caption);
}

void MainForm::unload() {
    m_forms.install.unload();
    m_forms.batchEditor.unload();
}

bool MainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !m_activated) {
        m_activated = true;
        dirListBox->setFocus();
    }
    return ui::MainDesign::event(event);
}

void MainForm::closeEvent(QCloseEvent* event) {
    event->accept();
    m_forms.main.unload();
}

} // namespace spindeck::app
