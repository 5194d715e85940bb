#include "splashform.h"

#include "config/inifile.h"
#include "mainform.h"
#include "ui/windows.h"

#include <QTimer>

namespace spindeck::app {

SplashForm::SplashForm(ui::Services& services, Forms& forms) : m_services(services), m_forms(forms) {}

void SplashForm::load() {
    ui::centreOnScreen(*this);
    m_services.toolkit.setScreenPointer(ui::Toolkit::kHourglass);
    lblVersion->setText(QString("Spindeck     v") + ui::kVersion);
}

void SplashForm::showEvent(QShowEvent* event) {
    ui::SplashDesign::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        // Activation comes once the splash is on screen.
        QTimer::singleShot(0, this, &SplashForm::activate);
    }
}

void SplashForm::activate() {
    repaint();
    MainForm& main = m_forms.main.get();
    main.show();
}

void prepareSplash(Forms& forms, ui::Services& services) {
    const std::string configPath = config::configPath(services.programDirectory);
    if (const auto bytes = services.files.readFile(configPath)) {
        const auto splashLogo = config::IniDocument::fromBytes(*bytes).lookup("mSplashLogo");
        const std::string value = splashLogo.value.value_or(std::string());
        if (!value.empty()) {
            if (auto picture = ui::loadPicture(services.files, services.programFile(value))) {
                forms.splash.get().setBackgroundPicture(*picture);
            } else {
                services.toolkit.reportProblem("splash picture " + picture.error().reason);
            }
        }
    }
}

void startUp(Forms& forms, ui::Services& services) {
    prepareSplash(forms, services);
    forms.splash.get().show();
}

} // namespace spindeck::app
